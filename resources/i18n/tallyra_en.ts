<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name></name>
    <message id="AutoPortDialog.okButton.text">
        <source>AutoPortDialog.okButton.text</source>
        <translation>OK</translation>
    </message>
    <message id="AutoPortDialog.okButton.textCancel">
        <source>AutoPortDialog.okButton.textCancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="AutoPortDialog.okButton.textClose">
        <source>AutoPortDialog.okButton.textClose</source>
        <translation>Close</translation>
    </message>
    <message id="AutoPortDialog.this.title">
        <source>AutoPortDialog.this.title</source>
        <translation>Auto-detect port</translation>
    </message>
    <message id="CustomRegExDialog.cancelButton.text">
        <source>CustomRegExDialog.cancelButton.text</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="CustomRegExDialog.cancelButton.toolTipText">
        <source>CustomRegExDialog.cancelButton.toolTipText</source>
        <translation>Closes the dialog without changes.</translation>
    </message>
    <message id="CustomRegExDialog.label2.text">
        <source>CustomRegExDialog.label2.text</source>
        <translation>A regular expression finds the value in each line the instrument sends.</translation>
    </message>
    <message id="CustomRegExDialog.label3.text">
        <source>CustomRegExDialog.label3.text</source>
        <translation>The part in parentheses (the capture group) is the value that is typed; the instrument preset decides which group counts, usually the first.</translation>
    </message>
    <message id="CustomRegExDialog.label4.text">
        <source>CustomRegExDialog.label4.text</source>
        <translation>Leave the expression empty to use the instrument's own expression.</translation>
    </message>
    <message id="CustomRegExDialog.okButton.text">
        <source>CustomRegExDialog.okButton.text</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="CustomRegExDialog.okButton.toolTipText">
        <source>CustomRegExDialog.okButton.toolTipText</source>
        <translation>Checks the expression and keeps it.</translation>
    </message>
    <message id="CustomRegExDialog.preview.captured">
        <source>CustomRegExDialog.preview.captured</source>
        <translation>Group {0} captures: "{1}"</translation>
    </message>
    <message id="CustomRegExDialog.preview.doesNotCompile">
        <source>CustomRegExDialog.preview.doesNotCompile</source>
        <translation>The expression does not compile: {0} (at character {1}).</translation>
    </message>
    <message id="CustomRegExDialog.preview.groupNotTaken">
        <source>CustomRegExDialog.preview.groupNotTaken</source>
        <translation>The expression matches, but capture group {0} takes no part in the match: the line would be reported as an error.</translation>
    </message>
    <message id="CustomRegExDialog.preview.instrumentPattern">
        <source>CustomRegExDialog.preview.instrumentPattern</source>
        <translation>(instrument's expression) </translation>
    </message>
    <message id="CustomRegExDialog.preview.matchAborted">
        <source>CustomRegExDialog.preview.matchAborted</source>
        <translation>Matching was cut off: the expression takes too long on this line. Avoid nested repetitions such as (a+)+.</translation>
    </message>
    <message id="CustomRegExDialog.preview.noMatch">
        <source>CustomRegExDialog.preview.noMatch</source>
        <translation>The expression does not match the sample line: nothing would be typed.</translation>
    </message>
    <message id="CustomRegExDialog.preview.noSample">
        <source>CustomRegExDialog.preview.noSample</source>
        <translation>Enter a sample line to try the expression.</translation>
    </message>
    <message id="CustomRegExDialog.preview.noSuchGroup">
        <source>CustomRegExDialog.preview.noSuchGroup</source>
        <translation>The expression has no capture group {0}: the line would be reported as an error.</translation>
    </message>
    <message id="CustomRegExDialog.regExLabel.text">
        <source>CustomRegExDialog.regExLabel.text</source>
        <translation>&amp;Regular expression:</translation>
    </message>
    <message id="CustomRegExDialog.regExTextArea.toolTipText">
        <source>CustomRegExDialog.regExTextArea.toolTipText</source>
        <translation>Your own expression, used instead of the instrument's. It must contain a capture group in parentheses; empty: the instrument's expression is used.</translation>
    </message>
    <message id="CustomRegExDialog.resultLabel.text">
        <source>CustomRegExDialog.resultLabel.text</source>
        <translation>Result:</translation>
    </message>
    <message id="CustomRegExDialog.sampleLabel.text">
        <source>CustomRegExDialog.sampleLabel.text</source>
        <translation>&amp;Sample line:</translation>
    </message>
    <message id="CustomRegExDialog.sampleTextField.toolTipText">
        <source>CustomRegExDialog.sampleTextField.toolTipText</source>
        <translation>Paste or type a line as the instrument sends it; the result below shows what would be typed from it. Nothing here is stored.</translation>
    </message>
    <message id="CustomRegExDialog.this.title">
        <source>CustomRegExDialog.this.title</source>
        <translation>Custom regular expression</translation>
    </message>
    <message id="IgnoreDialog.cancelButton.text">
        <source>IgnoreDialog.cancelButton.text</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="IgnoreDialog.cancelButton.toolTipText">
        <source>IgnoreDialog.cancelButton.toolTipText</source>
        <translation>Closes the dialog without changes.</translation>
    </message>
    <message id="IgnoreDialog.ignoreDifferenceTextField.toolTipText">
        <source>IgnoreDialog.ignoreDifferenceTextField.toolTipText</source>
        <translation>Values that differ from the previous one by at most this much count as repeats, for example 0.5 (a comma is read as decimal point). Number greater than 0; empty: only equal values.</translation>
    </message>
    <message id="IgnoreDialog.ignoreTimeLimitTextField.toolTipText">
        <source>IgnoreDialog.ignoreTimeLimitTextField.toolTipText</source>
        <translation>A repeated value is suppressed only when it arrives within this many milliseconds of the previous one. Whole number greater than 0; empty: no time limit.</translation>
    </message>
    <message id="IgnoreDialog.label1.text">
        <source>IgnoreDialog.label1.text</source>
        <translation>A value that repeats the previous one is not typed again. Leave a field empty to not use it.</translation>
    </message>
    <message id="IgnoreDialog.label2.text">
        <source>IgnoreDialog.label2.text</source>
        <translation>&amp;Time limit:</translation>
    </message>
    <message id="IgnoreDialog.label3.text">
        <source>IgnoreDialog.label3.text</source>
        <translation>&amp;Difference:</translation>
    </message>
    <message id="IgnoreDialog.okButton.text">
        <source>IgnoreDialog.okButton.text</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="IgnoreDialog.okButton.toolTipText">
        <source>IgnoreDialog.okButton.toolTipText</source>
        <translation>Checks both values and keeps them.</translation>
    </message>
    <message id="IgnoreDialog.this.title">
        <source>IgnoreDialog.this.title</source>
        <translation>Duplicate suppression</translation>
    </message>
    <message id="IgnoreDialog.unitLabel.text">
        <source>IgnoreDialog.unitLabel.text</source>
        <translation>ms</translation>
    </message>
    <message id="WeightToKeyFrame2.abortAutoStartCheckBox.text">
        <source>WeightToKeyFrame2.abortAutoStartCheckBox.text</source>
        <translation>A&amp;bort the automatic start when the previous port is missing</translation>
    </message>
    <message id="WeightToKeyFrame2.abortAutoStartCheckBox.toolTipText">
        <source>WeightToKeyFrame2.abortAutoStartCheckBox.toolTipText</source>
        <translation>Do not start on another port than the one used last time.</translation>
    </message>
    <message id="WeightToKeyFrame2.aboutPane.text">
        <source>WeightToKeyFrame2.aboutPane.text</source>
        <translation>&lt;h2&gt;Brindle Tallyra&lt;/h2&gt;&lt;p&gt;Tallyra reads the values your balance, gauge or barcode reader sends over a serial port and types them into the application that has the keyboard focus.&lt;/p&gt;&lt;p&gt;Licence: &lt;a href="https://opensource.org/license/mit"&gt;MIT&lt;/a&gt;. &lt;a href="https://www.qt.io/"&gt;Qt&lt;/a&gt;, &lt;a href="https://www.fluidsynth.org/"&gt;FluidSynth&lt;/a&gt; and &lt;a href="https://gmplib.org/"&gt;GMP&lt;/a&gt; are used under the &lt;a href="https://www.gnu.org/licenses/lgpl-3.0.html"&gt;LGPL&lt;/a&gt;.&lt;/p&gt;</translation>
    </message>
    <message id="WeightToKeyFrame2.aboutPanel.tab.title">
        <source>WeightToKeyFrame2.aboutPanel.tab.title</source>
        <translation>About</translation>
    </message>
    <message id="WeightToKeyFrame2.adjustIgnoreButton.text">
        <source>WeightToKeyFrame2.adjustIgnoreButton.text</source>
        <translation>Ad&amp;just…</translation>
    </message>
    <message id="WeightToKeyFrame2.adjustIgnoreButton.toolTipText">
        <source>WeightToKeyFrame2.adjustIgnoreButton.toolTipText</source>
        <translation>Time limit and tolerance for duplicates.</translation>
    </message>
    <message id="WeightToKeyFrame2.autoButton.text">
        <source>WeightToKeyFrame2.autoButton.text</source>
        <translation>Au&amp;to-detect…</translation>
    </message>
    <message id="WeightToKeyFrame2.autoButton.toolTipText">
        <source>WeightToKeyFrame2.autoButton.toolTipText</source>
        <translation>Find the port of the instrument from its handshake lines.</translation>
    </message>
    <message id="WeightToKeyFrame2.autoConnectButton.text">
        <source>WeightToKeyFrame2.autoConnectButton.text</source>
        <translation>&amp;Automatically when the program starts</translation>
    </message>
    <message id="WeightToKeyFrame2.autoConnectButton.toolTipText">
        <source>WeightToKeyFrame2.autoConnectButton.toolTipText</source>
        <translation>Reading starts as soon as the program has started.</translation>
    </message>
    <message id="WeightToKeyFrame2.bitRateBox.toolTipText">
        <source>WeightToKeyFrame2.bitRateBox.toolTipText</source>
        <translation>Transmission speed in bits per second (110 to 921600); must match the instrument.</translation>
    </message>
    <message id="WeightToKeyFrame2.bitRateLabel.text">
        <source>WeightToKeyFrame2.bitRateLabel.text</source>
        <translation>&amp;Bit rate:</translation>
    </message>
    <message id="WeightToKeyFrame2.checkForUpdatesCheckBox.text">
        <source>WeightToKeyFrame2.checkForUpdatesCheckBox.text</source>
        <translation>&amp;Check for a newer version at start</translation>
    </message>
    <message id="WeightToKeyFrame2.checkForUpdatesCheckBox.toolTipText">
        <source>WeightToKeyFrame2.checkForUpdatesCheckBox.toolTipText</source>
        <translation>Look up the newest version now and then and announce it in the status line.</translation>
    </message>
    <message id="WeightToKeyFrame2.connectLabel.text">
        <source>WeightToKeyFrame2.connectLabel.text</source>
        <translation>Reading starts</translation>
    </message>
    <message id="WeightToKeyFrame2.customizeButton.text">
        <source>WeightToKeyFrame2.customizeButton.text</source>
        <translation>&amp;Customize pattern…</translation>
    </message>
    <message id="WeightToKeyFrame2.customizeButton.toolTipText">
        <source>WeightToKeyFrame2.customizeButton.toolTipText</source>
        <translation>Use a regular expression of your own to find the value.</translation>
    </message>
    <message id="WeightToKeyFrame2.customPatternLabel.text">
        <source>WeightToKeyFrame2.customPatternLabel.text</source>
        <translation>custom pattern</translation>
    </message>
    <message id="WeightToKeyFrame2.customPatternLabel.toolTipText">
        <source>WeightToKeyFrame2.customPatternLabel.toolTipText</source>
        <translation>The value is found with your own expression {0}, not with the instrument's. Customize pattern changes or removes it.</translation>
    </message>
    <message id="WeightToKeyFrame2.dataBitsBox.toolTipText">
        <source>WeightToKeyFrame2.dataBitsBox.toolTipText</source>
        <translation>Data bits per character (5 to 8); must match the instrument.</translation>
    </message>
    <message id="WeightToKeyFrame2.dataBitsLabel.text">
        <source>WeightToKeyFrame2.dataBitsLabel.text</source>
        <translation>&amp;Data bits:</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalLabel.text">
        <source>WeightToKeyFrame2.decimalLabel.text</source>
        <translation>Decimal &amp;places:</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalSeparatorBox.toolTipText">
        <source>WeightToKeyFrame2.decimalSeparatorBox.toolTipText</source>
        <translation>The separator typed in numbers: point or comma.</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalSeparatorLabel.text">
        <source>WeightToKeyFrame2.decimalSeparatorLabel.text</source>
        <translation>Decimal &amp;separator:</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalTextField.toolTipText">
        <source>WeightToKeyFrame2.decimalTextField.toolTipText</source>
        <translation>Round each value to 0 to 7 decimal places; empty for no rounding.</translation>
    </message>
    <message id="WeightToKeyFrame2.defaultButton.text">
        <source>WeightToKeyFrame2.defaultButton.text</source>
        <translation>Instrument defa&amp;ults</translation>
    </message>
    <message id="WeightToKeyFrame2.defaultButton.toolTipText">
        <source>WeightToKeyFrame2.defaultButton.toolTipText</source>
        <translation>Set bit rate, data bits, stop bits, parity and line end to the instrument's defaults.</translation>
    </message>
    <message id="WeightToKeyFrame2.delayLabel.text">
        <source>WeightToKeyFrame2.delayLabel.text</source>
        <translation>De&amp;lay between keys (ms):</translation>
    </message>
    <message id="WeightToKeyFrame2.delayTextField.toolTipText">
        <source>WeightToKeyFrame2.delayTextField.toolTipText</source>
        <translation>0 to 1000 milliseconds after each key press and release; empty for 20.</translation>
    </message>
    <message id="WeightToKeyFrame2.deviceLabel.text">
        <source>WeightToKeyFrame2.deviceLabel.text</source>
        <translation>Instrument:</translation>
    </message>
    <message id="WeightToKeyFrame2.editNumCharactersLabel.text">
        <source>WeightToKeyFrame2.editNumCharactersLabel.text</source>
        <translation>&amp;Number of characters:</translation>
    </message>
    <message id="WeightToKeyFrame2.editNumCharactersTextField.toolTipText">
        <source>WeightToKeyFrame2.editNumCharactersTextField.toolTipText</source>
        <translation>1 to 99 characters; empty for no editing.</translation>
    </message>
    <message id="WeightToKeyFrame2.editOperationComboBox.toolTipText">
        <source>WeightToKeyFrame2.editOperationComboBox.toolTipText</source>
        <translation>Remove or keep a number of characters of each value.</translation>
    </message>
    <message id="WeightToKeyFrame2.editOperationLabel.text">
        <source>WeightToKeyFrame2.editOperationLabel.text</source>
        <translation>&amp;Edit:</translation>
    </message>
    <message id="WeightToKeyFrame2.editPositionComboBox.toolTipText">
        <source>WeightToKeyFrame2.editPositionComboBox.toolTipText</source>
        <translation>Whether the edit works at the start or at the end of the value.</translation>
    </message>
    <message id="WeightToKeyFrame2.editPositionLabel.text">
        <source>WeightToKeyFrame2.editPositionLabel.text</source>
        <translation>Pos&amp;ition:</translation>
    </message>
    <message id="WeightToKeyFrame2.eventLogPane.toolTipText">
        <source>WeightToKeyFrame2.eventLogPane.toolTipText</source>
        <translation>Every event and every received line. Green: the part that was typed; grey: ignored; bold: a value was typed but cannot be marked in the line, often because the line end byte does not fit the instrument (the line then starts with a character such as &lt;10&gt;); red: important.</translation>
    </message>
    <message id="WeightToKeyFrame2.eventLogPanel.tab.title">
        <source>WeightToKeyFrame2.eventLogPanel.tab.title</source>
        <translation>Event log</translation>
    </message>
    <message id="WeightToKeyFrame2.everyXValuesLabel.text">
        <source>WeightToKeyFrame2.everyXValuesLabel.text</source>
        <translation>Second terminator every &amp;X values:</translation>
    </message>
    <message id="WeightToKeyFrame2.everyXValuesTextField.toolTipText">
        <source>WeightToKeyFrame2.everyXValuesTextField.toolTipText</source>
        <translation>2 to 99; empty to use only the first terminator.</translation>
    </message>
    <message id="WeightToKeyFrame2.exportSettingsButton.text">
        <source>WeightToKeyFrame2.exportSettingsButton.text</source>
        <translation>E&amp;xport settings…</translation>
    </message>
    <message id="WeightToKeyFrame2.exportSettingsButton.toolTipText">
        <source>WeightToKeyFrame2.exportSettingsButton.toolTipText</source>
        <translation>Save the settings to a file.</translation>
    </message>
    <message id="WeightToKeyFrame2.ignoreDuplicatesCheckBox.text">
        <source>WeightToKeyFrame2.ignoreDuplicatesCheckBox.text</source>
        <translation>Ignore &amp;duplicates</translation>
    </message>
    <message id="WeightToKeyFrame2.ignoreDuplicatesCheckBox.toolTipText">
        <source>WeightToKeyFrame2.ignoreDuplicatesCheckBox.toolTipText</source>
        <translation>Do not type a value that repeats the previous one.</translation>
    </message>
    <message id="WeightToKeyFrame2.importSettingsButton.text">
        <source>WeightToKeyFrame2.importSettingsButton.text</source>
        <translation>&amp;Import settings…</translation>
    </message>
    <message id="WeightToKeyFrame2.importSettingsButton.toolTipText">
        <source>WeightToKeyFrame2.importSettingsButton.toolTipText</source>
        <translation>Load settings from an exported file.</translation>
    </message>
    <message id="WeightToKeyFrame2.inputPanel.tab.title">
        <source>WeightToKeyFrame2.inputPanel.tab.title</source>
        <translation>Input</translation>
    </message>
    <message id="WeightToKeyFrame2.inputTerminatorBox.toolTipText">
        <source>WeightToKeyFrame2.inputTerminatorBox.toolTipText</source>
        <translation>The byte (0 to 255) that ends each line the instrument sends; choose or type it.</translation>
    </message>
    <message id="WeightToKeyFrame2.inputTerminatorLabel.text">
        <source>WeightToKeyFrame2.inputTerminatorLabel.text</source>
        <translation>Line &amp;end byte:</translation>
    </message>
    <message id="WeightToKeyFrame2.instrumentBox.toolTipText">
        <source>WeightToKeyFrame2.instrumentBox.toolTipText</source>
        <translation>The instrument preset: its line settings and how the value is found in each line it sends. Presets in italics type text, the others numbers.</translation>
    </message>
    <message id="WeightToKeyFrame2.instrumentLabel.text">
        <source>WeightToKeyFrame2.instrumentLabel.text</source>
        <translation>&amp;Instrument:</translation>
    </message>
    <message id="WeightToKeyFrame2.journalBox.title">
        <source>WeightToKeyFrame2.journalBox.title</source>
        <translation>Journal</translation>
    </message>
    <message id="WeightToKeyFrame2.journalCheckBox.text">
        <source>WeightToKeyFrame2.journalCheckBox.text</source>
        <translation>&amp;Keep every reading in a journal</translation>
    </message>
    <message id="WeightToKeyFrame2.journalCheckBox.toolTipText">
        <source>WeightToKeyFrame2.journalCheckBox.toolTipText</source>
        <translation>Every line read is appended to one file per day (tallyra-YYYY-MM-DD.jsonl) with its time, port, preset, value and whether it was typed; reading goes on if the journal cannot be written</translation>
    </message>
    <message id="WeightToKeyFrame2.journalDaysLabel.text">
        <source>WeightToKeyFrame2.journalDaysLabel.text</source>
        <translation>Keep for &amp;days:</translation>
    </message>
    <message id="WeightToKeyFrame2.journalDaysTextField.toolTipText">
        <source>WeightToKeyFrame2.journalDaysTextField.toolTipText</source>
        <translation>Journal files older than this many days are removed; 0 keeps every file (0 to 36500)</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderButton.text">
        <source>WeightToKeyFrame2.journalFolderButton.text</source>
        <translation>C&amp;hoose…</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderButton.toolTipText">
        <source>WeightToKeyFrame2.journalFolderButton.toolTipText</source>
        <translation>Choose the folder of the journal files</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderLabel.text">
        <source>WeightToKeyFrame2.journalFolderLabel.text</source>
        <translation>&amp;Folder:</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderTextField.toolTipText">
        <source>WeightToKeyFrame2.journalFolderTextField.toolTipText</source>
        <translation>Folder of the journal files; empty: the program's data folder shown in grey</translation>
    </message>
    <message id="WeightToKeyFrame2.journalMqttPanel.tab.title">
        <source>WeightToKeyFrame2.journalMqttPanel.tab.title</source>
        <translation>Journal/MQTT</translation>
    </message>
    <message id="WeightToKeyFrame2.keyboardTypeBox.toolTipText">
        <source>WeightToKeyFrame2.keyboardTypeBox.toolTipText</source>
        <translation>The keyboard layout of this computer; ALL types ALT codes and works with any layout.</translation>
    </message>
    <message id="WeightToKeyFrame2.keyboardTypeLabel.text">
        <source>WeightToKeyFrame2.keyboardTypeLabel.text</source>
        <translation>&amp;Keyboard layout:</translation>
    </message>
    <message id="WeightToKeyFrame2.manualConnectButton.text">
        <source>WeightToKeyFrame2.manualConnectButton.text</source>
        <translation>&amp;Manually, with the Start button</translation>
    </message>
    <message id="WeightToKeyFrame2.manualConnectButton.toolTipText">
        <source>WeightToKeyFrame2.manualConnectButton.toolTipText</source>
        <translation>Reading starts only when you press Start.</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperandLabel.text">
        <source>WeightToKeyFrame2.mathOperandLabel.text</source>
        <translation>&amp;Operand:</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperandTextField.toolTipText">
        <source>WeightToKeyFrame2.mathOperandTextField.toolTipText</source>
        <translation>A decimal number other than 0; empty for none.</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperationBox.toolTipText">
        <source>WeightToKeyFrame2.mathOperationBox.toolTipText</source>
        <translation>Multiply or divide each value by the operand.</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperationLabel.text">
        <source>WeightToKeyFrame2.mathOperationLabel.text</source>
        <translation>&amp;Arithmetic:</translation>
    </message>
    <message id="WeightToKeyFrame2.minimizeToTrayCheckBox.text">
        <source>WeightToKeyFrame2.minimizeToTrayCheckBox.text</source>
        <translation>Minimize to the &amp;tray</translation>
    </message>
    <message id="WeightToKeyFrame2.minimizeToTrayCheckBox.toolTipText">
        <source>WeightToKeyFrame2.minimizeToTrayCheckBox.toolTipText</source>
        <translation>A minimized window goes to the notification area (from the next start).</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttBox.title">
        <source>WeightToKeyFrame2.mqttBox.title</source>
        <translation>MQTT broker</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileButton.text">
        <source>WeightToKeyFrame2.mqttCaFileButton.text</source>
        <translation>&amp;Browse…</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileButton.toolTipText">
        <source>WeightToKeyFrame2.mqttCaFileButton.toolTipText</source>
        <translation>Choose the certificate authority's PEM file</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileLabel.text">
        <source>WeightToKeyFrame2.mqttCaFileLabel.text</source>
        <translation>&amp;CA file:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttCaFileTextField.toolTipText</source>
        <translation>PEM file of the certificate authority that signed the broker's certificate; empty: the system's authorities</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCheckBox.text">
        <source>WeightToKeyFrame2.mqttCheckBox.text</source>
        <translation>&amp;Publish every value to an MQTT broker</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCheckBox.toolTipText">
        <source>WeightToKeyFrame2.mqttCheckBox.toolTipText</source>
        <translation>Each value is sent with QoS 1 as a JSON object with a sequence number; while the broker cannot be reached, up to 10,000 values wait in memory and are sent in order once it is back</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttHostLabel.text">
        <source>WeightToKeyFrame2.mqttHostLabel.text</source>
        <translation>&amp;Host:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttHostTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttHostTextField.toolTipText</source>
        <translation>Name or address of the broker, without blanks</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttNotAvailableLabel.text">
        <source>WeightToKeyFrame2.mqttNotAvailableLabel.text</source>
        <translation>MQTT is not available in this build of the program.</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPasswordLabel.text">
        <source>WeightToKeyFrame2.mqttPasswordLabel.text</source>
        <translation>Pass&amp;word:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPasswordTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttPasswordTextField.toolTipText</source>
        <translation>Password at the broker; kept in the settings of this computer, never exported nor logged</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPortLabel.text">
        <source>WeightToKeyFrame2.mqttPortLabel.text</source>
        <translation>Po&amp;rt:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPortTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttPortTextField.toolTipText</source>
        <translation>Network port of the broker, 1 to 65535 (usually 1883, or 8883 with TLS)</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttRetainCheckBox.text">
        <source>WeightToKeyFrame2.mqttRetainCheckBox.text</source>
        <translation>R&amp;etain the last value</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttRetainCheckBox.toolTipText">
        <source>WeightToKeyFrame2.mqttRetainCheckBox.toolTipText</source>
        <translation>The broker keeps the last value for subscribers that connect later</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTlsCheckBox.text">
        <source>WeightToKeyFrame2.mqttTlsCheckBox.text</source>
        <translation>Encr&amp;ypt the connection (TLS)</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTlsCheckBox.toolTipText">
        <source>WeightToKeyFrame2.mqttTlsCheckBox.toolTipText</source>
        <translation>TLS: the connection is encrypted and the broker's certificate is checked</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTopicLabel.text">
        <source>WeightToKeyFrame2.mqttTopicLabel.text</source>
        <translation>&amp;Topic:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTopicTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttTopicTextField.toolTipText</source>
        <translation>Topic of the values; &lt;hostname&gt; and &lt;port&gt; are replaced by this computer's name and the port; no + or #</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttUserLabel.text">
        <source>WeightToKeyFrame2.mqttUserLabel.text</source>
        <translation>&amp;User:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttUserTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttUserTextField.toolTipText</source>
        <translation>User name at the broker; empty: none</translation>
    </message>
    <message id="WeightToKeyFrame2.nextStep.idle">
        <source>WeightToKeyFrame2.nextStep.idle</source>
        <translation>Connect the instrument, check port and instrument, then press Start.</translation>
    </message>
    <message id="WeightToKeyFrame2.nextStep.running">
        <source>WeightToKeyFrame2.nextStep.running</source>
        <translation>Reading. Click into the application that should receive the values. Press Stop to end.</translation>
    </message>
    <message id="WeightToKeyFrame2.nextStep.waiting">
        <source>WeightToKeyFrame2.nextStep.waiting</source>
        <translation>Plug the instrument in again: reading goes on by itself. Press Stop to end.</translation>
    </message>
    <message id="WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.text">
        <source>WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.text</source>
        <translation>&amp;Notify when minimized to the tray</translation>
    </message>
    <message id="WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.toolTipText">
        <source>WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.toolTipText</source>
        <translation>Show a message when the window goes to the notification area.</translation>
    </message>
    <message id="WeightToKeyFrame2.outputPanel.tab.title">
        <source>WeightToKeyFrame2.outputPanel.tab.title</source>
        <translation>Output</translation>
    </message>
    <message id="WeightToKeyFrame2.outputStatusLabel.toolTipText">
        <source>WeightToKeyFrame2.outputStatusLabel.toolTipText</source>
        <translation>State of the MQTT broker while a reading publishes to it</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminator2Label.text">
        <source>WeightToKeyFrame2.outputTerminator2Label.text</source>
        <translation>Second te&amp;rminator key:</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminatorBox.toolTipText">
        <source>WeightToKeyFrame2.outputTerminatorBox.toolTipText</source>
        <translation>The key typed after each value.</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminatorBox2.toolTipText">
        <source>WeightToKeyFrame2.outputTerminatorBox2.toolTipText</source>
        <translation>The key typed instead of the terminator after every X-th value.</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminatorLabel.text">
        <source>WeightToKeyFrame2.outputTerminatorLabel.text</source>
        <translation>&amp;Terminator key:</translation>
    </message>
    <message id="WeightToKeyFrame2.panel1.tab.title">
        <source>WeightToKeyFrame2.panel1.tab.title</source>
        <translation>Main</translation>
    </message>
    <message id="WeightToKeyFrame2.parityBox.toolTipText">
        <source>WeightToKeyFrame2.parityBox.toolTipText</source>
        <translation>Parity check of each character; must match the instrument.</translation>
    </message>
    <message id="WeightToKeyFrame2.parityLabel.text">
        <source>WeightToKeyFrame2.parityLabel.text</source>
        <translation>Pa&amp;rity:</translation>
    </message>
    <message id="WeightToKeyFrame2.portLabel.text">
        <source>WeightToKeyFrame2.portLabel.text</source>
        <translation>&amp;Port:</translation>
    </message>
    <message id="WeightToKeyFrame2.portList.toolTipText">
        <source>WeightToKeyFrame2.portList.toolTipText</source>
        <translation>The serial port the instrument is connected to. A port that is not listed can be typed, and an instrument on the network as tcp://HOST:PORT.</translation>
    </message>
    <message id="WeightToKeyFrame2.processingPanel.tab.title">
        <source>WeightToKeyFrame2.processingPanel.tab.title</source>
        <translation>Processing</translation>
    </message>
    <message id="WeightToKeyFrame2.reconnectCheckBox.text">
        <source>WeightToKeyFrame2.reconnectCheckBox.text</source>
        <translation>&amp;Reconnect when an unplugged instrument returns</translation>
    </message>
    <message id="WeightToKeyFrame2.reconnectCheckBox.toolTipText">
        <source>WeightToKeyFrame2.reconnectCheckBox.toolTipText</source>
        <translation>When the instrument's port goes away during a reading (an unplugged USB adapter, a dropped network connection), keep the reading: wait for the same port to return and open it again with the same settings. Off: the reading ends.</translation>
    </message>
    <message id="WeightToKeyFrame2.refreshPortsButton.text">
        <source>WeightToKeyFrame2.refreshPortsButton.text</source>
        <translation>Re&amp;fresh</translation>
    </message>
    <message id="WeightToKeyFrame2.refreshPortsButton.toolTipText">
        <source>WeightToKeyFrame2.refreshPortsButton.toolTipText</source>
        <translation>List the serial ports of this computer again.</translation>
    </message>
    <message id="WeightToKeyFrame2.removeCharactersLabel.text">
        <source>WeightToKeyFrame2.removeCharactersLabel.text</source>
        <translation>Remove c&amp;haracters:</translation>
    </message>
    <message id="WeightToKeyFrame2.removeCharactersTextField.toolTipText">
        <source>WeightToKeyFrame2.removeCharactersTextField.toolTipText</source>
        <translation>Every character typed here is removed from the values (codes 0 to 255).</translation>
    </message>
    <message id="WeightToKeyFrame2.requestCommandBox.toolTipText">
        <source>WeightToKeyFrame2.requestCommandBox.toolTipText</source>
        <translation>The command that asks the instrument for a value. Control characters are written as the log shows them: &lt;13&gt; is CR, &lt;10&gt; is LF, &lt;27&gt; is ESC (codes 0 to 255). The list offers the instrument's own commands.</translation>
    </message>
    <message id="WeightToKeyFrame2.requestCommandLabel.text">
        <source>WeightToKeyFrame2.requestCommandLabel.text</source>
        <translation>Re&amp;quest command:</translation>
    </message>
    <message id="WeightToKeyFrame2.requestIntervalLabel.text">
        <source>WeightToKeyFrame2.requestIntervalLabel.text</source>
        <translation>Ask e&amp;very (ms):</translation>
    </message>
    <message id="WeightToKeyFrame2.requestIntervalTextField.toolTipText">
        <source>WeightToKeyFrame2.requestIntervalTextField.toolTipText</source>
        <translation>Milliseconds between two requests, 100 to 3600000.</translation>
    </message>
    <message id="WeightToKeyFrame2.requestJButton.text">
        <source>WeightToKeyFrame2.requestJButton.text</source>
        <translation>&amp;Request value</translation>
    </message>
    <message id="WeightToKeyFrame2.requestJButton.toolTipText">
        <source>WeightToKeyFrame2.requestJButton.toolTipText</source>
        <translation>Sends the request command to the instrument; its answer is typed like any value.</translation>
    </message>
    <message id="WeightToKeyFrame2.requestModeBox.toolTipText">
        <source>WeightToKeyFrame2.requestModeBox.toolTipText</source>
        <translation>When the request command is sent: never, once after the port is opened, at regular intervals, or on demand with the Request value button on the main tab (and Ctrl+Shift+F12 from any program where the desktop allows it).</translation>
    </message>
    <message id="WeightToKeyFrame2.requestModeLabel.text">
        <source>WeightToKeyFrame2.requestModeLabel.text</source>
        <translation>As&amp;k for a value:</translation>
    </message>
    <message id="WeightToKeyFrame2.roundingMethodBox.toolTipText">
        <source>WeightToKeyFrame2.roundingMethodBox.toolTipText</source>
        <translation>How a value is rounded to the decimal places.</translation>
    </message>
    <message id="WeightToKeyFrame2.roundingMethodLabel.text">
        <source>WeightToKeyFrame2.roundingMethodLabel.text</source>
        <translation>&amp;Rounding:</translation>
    </message>
    <message id="WeightToKeyFrame2.settingsPanel.tab.title">
        <source>WeightToKeyFrame2.settingsPanel.tab.title</source>
        <translation>Settings</translation>
    </message>
    <message id="WeightToKeyFrame2.soundComboBox.toolTipText">
        <source>WeightToKeyFrame2.soundComboBox.toolTipText</source>
        <translation>A short sound for every value received; none for silence.</translation>
    </message>
    <message id="WeightToKeyFrame2.soundLabel.text">
        <source>WeightToKeyFrame2.soundLabel.text</source>
        <translation>S&amp;ound:</translation>
    </message>
    <message id="WeightToKeyFrame2.stableOnlyCheckBox.text">
        <source>WeightToKeyFrame2.stableOnlyCheckBox.text</source>
        <translation>Only &amp;stable values</translation>
    </message>
    <message id="WeightToKeyFrame2.stableOnlyCheckBox.toolTipText">
        <source>WeightToKeyFrame2.stableOnlyCheckBox.toolTipText</source>
        <translation>Lines the instrument marks as not yet stable (MT-SICS S D, A&amp;D US) are shown in the log as not stable and not typed. Instruments without a stability mark type every value.</translation>
    </message>
    <message id="WeightToKeyFrame2.startStopJButton.text">
        <source>WeightToKeyFrame2.startStopJButton.text</source>
        <translation>&amp;Start</translation>
    </message>
    <message id="WeightToKeyFrame2.startStopJButton.textStop">
        <source>WeightToKeyFrame2.startStopJButton.textStop</source>
        <translation>&amp;Stop</translation>
    </message>
    <message id="WeightToKeyFrame2.startStopJButton.toolTipText">
        <source>WeightToKeyFrame2.startStopJButton.toolTipText</source>
        <translation>Start reading the instrument on the selected port and typing its values; press again to stop.</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithBox.toolTipText">
        <source>WeightToKeyFrame2.startWithBox.toolTipText</source>
        <translation>A key typed before each value.</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithLabel.text">
        <source>WeightToKeyFrame2.startWithLabel.text</source>
        <translation>Start &amp;with key:</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithSessionCheckBox.text">
        <source>WeightToKeyFrame2.startWithSessionCheckBox.text</source>
        <translation>Start with the desktop &amp;session</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithSessionCheckBox.toolTipText">
        <source>WeightToKeyFrame2.startWithSessionCheckBox.toolTipText</source>
        <translation>Starts Tallyra when you log in to the desktop, through an autostart entry (~/.config/autostart/tallyra.desktop). Together with automatic connection, reading begins without a click.</translation>
    </message>
    <message id="WeightToKeyFrame2.statusJLabel.text">
        <source>WeightToKeyFrame2.statusJLabel.text</source>
        <translation>Ready. Press Start to read from the instrument.</translation>
    </message>
    <message id="WeightToKeyFrame2.statusJLabel.toolTipText">
        <source>WeightToKeyFrame2.statusJLabel.toolTipText</source>
        <translation>What the program is doing now.</translation>
    </message>
    <message id="WeightToKeyFrame2.stopBitsBox.toolTipText">
        <source>WeightToKeyFrame2.stopBitsBox.toolTipText</source>
        <translation>Stop bits per character (1 or 2); must match the instrument.</translation>
    </message>
    <message id="WeightToKeyFrame2.stopBitsLabel.text">
        <source>WeightToKeyFrame2.stopBitsLabel.text</source>
        <translation>St&amp;op bits:</translation>
    </message>
    <message id="WeightToKeyFrame2.tareJButton.text">
        <source>WeightToKeyFrame2.tareJButton.text</source>
        <translation>&amp;Tare</translation>
    </message>
    <message id="WeightToKeyFrame2.tareJButton.toolTipText">
        <source>WeightToKeyFrame2.tareJButton.toolTipText</source>
        <translation>Sends the instrument's tare command.</translation>
    </message>
    <message id="WeightToKeyFrame2.updatesLabel.text">
        <source>WeightToKeyFrame2.updatesLabel.text</source>
        <translation>Updates:</translation>
    </message>
    <message id="WeightToKeyFrame2.zeroJButton.text">
        <source>WeightToKeyFrame2.zeroJButton.text</source>
        <translation>&amp;Zero</translation>
    </message>
    <message id="WeightToKeyFrame2.zeroJButton.toolTipText">
        <source>WeightToKeyFrame2.zeroJButton.toolTipText</source>
        <translation>Sends the instrument's zero command.</translation>
    </message>
    <message id="access.error.while.loading.settings">
        <source>access.error.while.loading.settings</source>
        <translation>The settings could not be read (access denied); the defaults are used. </translation>
    </message>
    <message id="access.error.while.saving.settings">
        <source>access.error.while.saving.settings</source>
        <translation>The settings could not be saved (access denied). </translation>
    </message>
    <message id="autosave.error">
        <source>autosave.error</source>
        <translation>Saving the settings failed: </translation>
    </message>
    <message id="autostart.change.failed">
        <source>autostart.change.failed</source>
        <translation>The autostart entry could not be changed: </translation>
    </message>
    <message id="checking.for.update">
        <source>checking.for.update</source>
        <translation>Checking for updates ...</translation>
    </message>
    <message id="configuration.exported.to.file.n">
        <source>configuration.exported.to.file.n</source>
        <translation>Configuration exported to file:
</translation>
    </message>
    <message id="confirm">
        <source>confirm</source>
        <translation>Confirm</translation>
    </message>
    <message id="error">
        <source>error</source>
        <translation>Error</translation>
    </message>
    <message id="error.decimal.places">
        <source>error.decimal.places</source>
        <translation>Decimal places: enter a whole number from 0 to 7, or leave it empty.</translation>
    </message>
    <message id="error.edit.everyXValues">
        <source>error.edit.everyXValues</source>
        <translation>Every X values: enter a whole number from 2 to 99, or leave it empty.</translation>
    </message>
    <message id="error.edit.numCharacters">
        <source>error.edit.numCharacters</source>
        <translation>Number of characters: enter a whole number from 1 to 99, or leave it empty.</translation>
    </message>
    <message id="error.edit.removeCharacters">
        <source>error.edit.removeCharacters</source>
        <translation>Remove characters: only characters with codes 0 to 255 can be removed.</translation>
    </message>
    <message id="error.initializing.keyboard.output">
        <source>error.initializing.keyboard.output</source>
        <translation>Keyboard output could not be started; values will not be typed. </translation>
    </message>
    <message id="error.intercharacter.delay">
        <source>error.intercharacter.delay</source>
        <translation>Delay between keys: enter a whole number of milliseconds from 0 to 1000, or leave it empty.</translation>
    </message>
    <message id="error.journal.days">
        <source>error.journal.days</source>
        <translation>Keep for days: enter a whole number of days from 0 (keep every file) to 36500.</translation>
    </message>
    <message id="error.listing.available.ports">
        <source>error.listing.available.ports</source>
        <translation>Error listing the available ports. </translation>
    </message>
    <message id="error.math.operand">
        <source>error.math.operand</source>
        <translation>Operand: enter a decimal number other than 0, or leave it empty.</translation>
    </message>
    <message id="error.mqtt.host">
        <source>error.mqtt.host</source>
        <translation>MQTT host: enter a host name or address without blanks.</translation>
    </message>
    <message id="error.mqtt.port">
        <source>error.mqtt.port</source>
        <translation>MQTT port: enter a whole number from 1 to 65535.</translation>
    </message>
    <message id="error.mqtt.topic">
        <source>error.mqtt.topic</source>
        <translation>MQTT topic: it must not be empty and must not contain + or #.</translation>
    </message>
    <message id="error.opening.port">
        <source>error.opening.port</source>
        <translation>Error opening the port: </translation>
    </message>
    <message id="error.reading.settings">
        <source>error.reading.settings</source>
        <translation>The settings could not be read; the defaults are used. </translation>
    </message>
    <message id="error.request.command">
        <source>error.request.command</source>
        <translation>The request command may hold characters with codes 0 to 255 only; write control characters as &lt;13&gt; with a code from 0 to 255.</translation>
    </message>
    <message id="error.request.interval">
        <source>error.request.interval</source>
        <translation>The time between two requests must be a whole number of milliseconds from 100 to 3600000.</translation>
    </message>
    <message id="error.while.initializing.sound.output">
        <source>error.while.initializing.sound.output</source>
        <translation>The sound output could not be opened; reading goes on without sound. </translation>
    </message>
    <message id="error.while.loading.settings">
        <source>error.while.loading.settings</source>
        <translation>Error while loading the settings</translation>
    </message>
    <message id="export.failed">
        <source>export.failed</source>
        <translation>Export failed: </translation>
    </message>
    <message id="export.settings.dialog.title">
        <source>export.settings.dialog.title</source>
        <translation>Export settings</translation>
    </message>
    <message id="export.successful">
        <source>export.successful</source>
        <translation>Export successful</translation>
    </message>
    <message id="fatal.error">
        <source>fatal.error</source>
        <translation>Fatal error</translation>
    </message>
    <message id="file.already.exists.overwrite">
        <source>file.already.exists.overwrite</source>
        <translation>The file already exists. Do you want to overwrite it?</translation>
    </message>
    <message id="ignore.error">
        <source>ignore.error</source>
        <translation>The time limit must be empty or a whole number of milliseconds greater than 0, and the difference must be empty or a number greater than 0.</translation>
    </message>
    <message id="import.apply.and.exit">
        <source>import.apply.and.exit</source>
        <translation>Apply imported configuration and exit?</translation>
    </message>
    <message id="import.failed">
        <source>import.failed</source>
        <translation>Import failed
</translation>
    </message>
    <message id="import.settings.dialog.title">
        <source>import.settings.dialog.title</source>
        <translation>Import settings</translation>
    </message>
    <message id="info">
        <source>info</source>
        <translation>Information</translation>
    </message>
    <message id="info.delay.keyboard.all">
        <source>info.delay.keyboard.all</source>
        <translation>The layout ALL types ALT codes, which need at least 3 ms between keys. The delay is set to 3 ms.</translation>
    </message>
    <message id="info.title">
        <source>info.title</source>
        <translation>Info</translation>
    </message>
    <message id="invalid.expression">
        <source>invalid.expression</source>
        <translation>Invalid regular expression: it must compile and contain a capture group in parentheses, for example ([-+]?\d+\.?\d*).</translation>
    </message>
    <message id="invalid.setting">
        <source>invalid.setting</source>
        <translation>A setting cannot be used: </translation>
    </message>
    <message id="invalid.setting.found.defaults.used">
        <source>invalid.setting.found.defaults.used</source>
        <translation>An invalid stored setting was replaced by its default: </translation>
    </message>
    <message id="keyboard.output.started.type">
        <source>keyboard.output.started.type</source>
        <translation>Keyboard output started, layout:</translation>
    </message>
    <message id="library.serdrvwin.not.found.or.not.matching.your.system">
        <source>library.serdrvwin.not.found.or.not.matching.your.system</source>
        <translation>The serial driver library was not found or does not match this system</translation>
    </message>
    <message id="line.count">
        <source>line.count</source>
        <translation>Lines received: </translation>
    </message>
    <message id="link.open.problem">
        <source>link.open.problem</source>
        <translation>Sorry, a problem occurred while trying to open this link in your system's standard browser.</translation>
    </message>
    <message id="link.open.problem.title">
        <source>link.open.problem.title</source>
        <translation>A problem occured</translation>
    </message>
    <message id="minimized.to.system.tray">
        <source>minimized.to.system.tray</source>
        <translation>Tallyra keeps running in the notification area. Double-click the icon to open it.</translation>
    </message>
    <message id="no.default.values.available.for.this.device">
        <source>no.default.values.available.for.this.device</source>
        <translation>No default values are available for this instrument.</translation>
    </message>
    <message id="no.rs.232.port.found.on.your.system.program.will.now.exit">
        <source>no.rs.232.port.found.on.your.system.program.will.now.exit</source>
        <translation>No serial port was found on this computer. Connect the instrument and list the ports again.</translation>
    </message>
    <message id="overwrite">
        <source>overwrite</source>
        <translation>Overwrite</translation>
    </message>
    <message id="overwrite.custom.regular.expression">
        <source>overwrite.custom.regular.expression</source>
        <translation>Overwrite custom regular expression?</translation>
    </message>
    <message id="please.enter.number.of.decimal.places.for.rounding.or.disable.division">
        <source>please.enter.number.of.decimal.places.for.rounding.or.disable.division</source>
        <translation>Division needs rounding: enter the number of decimal places, or switch the division off.</translation>
    </message>
    <message id="please.turn.off.caps.lock">
        <source>please.turn.off.caps.lock</source>
        <translation>Please turn off Caps Lock: it changes the case of typed letters.</translation>
    </message>
    <message id="previously.used.port.0.no.longer.available.naborting.auto.start">
        <source>previously.used.port.0.no.longer.available.naborting.auto.start</source>
        <translation>The previously used port {0} is no longer available.
The automatic start is cancelled.</translation>
    </message>
    <message id="program.will.now.exit">
        <source>program.will.now.exit</source>
        <translation>. The program will now exit.</translation>
    </message>
    <message id="restart.required">
        <source>restart.required</source>
        <translation>Restart required</translation>
    </message>
    <message id="settings.file.filter">
        <source>settings.file.filter</source>
        <translation>Settings files (*.xml);;All files (*)</translation>
    </message>
    <message id="shortcut.no.display">
        <source>shortcut.no.display</source>
        <translation>No global shortcut: the X display cannot be reached. Use the Request value button on the main tab.</translation>
    </message>
    <message id="shortcut.ready">
        <source>shortcut.ready</source>
        <translation>A value can also be requested with {0} from any program.</translation>
    </message>
    <message id="shortcut.taken">
        <source>shortcut.taken</source>
        <translation>No global shortcut: another program holds {0}. Use the Request value button on the main tab.</translation>
    </message>
    <message id="shortcut.wayland">
        <source>shortcut.wayland</source>
        <translation>No global shortcut: a Wayland desktop does not let programs take a key for themselves. Use the Request value button on the main tab.</translation>
    </message>
    <message id="sound.output.error">
        <source>sound.output.error</source>
        <translation>Sound output error</translation>
    </message>
    <message id="switch.to.target.application">
        <source>switch.to.target.application</source>
        <translation>Reading. Switch to the application that should receive the values.</translation>
    </message>
    <message id="terminator.must.be.between.0.and.255">
        <source>terminator.must.be.between.0.and.255</source>
        <translation>The line end byte must be a number between 0 and 255.</translation>
    </message>
    <message id="update.available">
        <source>update.available</source>
        <translation>&lt;html&gt;A newer version is available: &lt;a href="{0}"&gt;download page&lt;/a&gt;&lt;/html&gt;</translation>
    </message>
    <message id="update.check.failed">
        <source>update.check.failed</source>
        <translation>Update check failed: </translation>
    </message>
    <message id="warning">
        <source>warning</source>
        <translation>Warning</translation>
    </message>
</context>
</TS>
