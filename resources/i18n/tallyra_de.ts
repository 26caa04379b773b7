<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="AutoPortDialog.okButton.text">
        <source>AutoPortDialog.okButton.text</source>
        <translation>OK</translation>
    </message>
    <message id="AutoPortDialog.okButton.textCancel">
        <source>AutoPortDialog.okButton.textCancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="AutoPortDialog.okButton.textClose">
        <source>AutoPortDialog.okButton.textClose</source>
        <translation>Schließen</translation>
    </message>
    <message id="AutoPortDialog.this.title">
        <source>AutoPortDialog.this.title</source>
        <translation>Schnittstelle automatisch erkennen</translation>
    </message>
    <message id="CustomRegExDialog.cancelButton.text">
        <source>CustomRegExDialog.cancelButton.text</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message id="CustomRegExDialog.cancelButton.toolTipText">
        <source>CustomRegExDialog.cancelButton.toolTipText</source>
        <translation>Schließt den Dialog ohne Änderungen.</translation>
    </message>
    <message id="CustomRegExDialog.label2.text">
        <source>CustomRegExDialog.label2.text</source>
        <translation>Ein regulärer Ausdruck findet den Wert in jeder Zeile, die das Gerät sendet.</translation>
    </message>
    <message id="CustomRegExDialog.label3.text">
        <source>CustomRegExDialog.label3.text</source>
        <translation>Der Teil in Klammern (die Erfassungsgruppe) ist der Wert, der getippt wird; die Gerätevorgabe bestimmt, welche Gruppe zählt, meist die erste.</translation>
    </message>
    <message id="CustomRegExDialog.label4.text">
        <source>CustomRegExDialog.label4.text</source>
        <translation>Lassen Sie den Ausdruck leer, um den Ausdruck des Geräts zu verwenden.</translation>
    </message>
    <message id="CustomRegExDialog.okButton.text">
        <source>CustomRegExDialog.okButton.text</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="CustomRegExDialog.okButton.toolTipText">
        <source>CustomRegExDialog.okButton.toolTipText</source>
        <translation>Prüft den Ausdruck und übernimmt ihn.</translation>
    </message>
    <message id="CustomRegExDialog.preview.captured">
        <source>CustomRegExDialog.preview.captured</source>
        <translation>Gruppe {0} erfasst: „{1}“</translation>
    </message>
    <message id="CustomRegExDialog.preview.doesNotCompile">
        <source>CustomRegExDialog.preview.doesNotCompile</source>
        <translation>Der Ausdruck ist ungültig: {0} (bei Zeichen {1}).</translation>
    </message>
    <message id="CustomRegExDialog.preview.groupNotTaken">
        <source>CustomRegExDialog.preview.groupNotTaken</source>
        <translation>Der Ausdruck passt, aber Erfassungsgruppe {0} ist nicht beteiligt: Die Zeile würde als Fehler gemeldet.</translation>
    </message>
    <message id="CustomRegExDialog.preview.instrumentPattern">
        <source>CustomRegExDialog.preview.instrumentPattern</source>
        <translation>(Ausdruck des Geräts) </translation>
    </message>
    <message id="CustomRegExDialog.preview.matchAborted">
        <source>CustomRegExDialog.preview.matchAborted</source>
        <translation>Die Suche wurde abgebrochen: Der Ausdruck braucht für diese Zeile zu lange. Vermeiden Sie verschachtelte Wiederholungen wie (a+)+.</translation>
    </message>
    <message id="CustomRegExDialog.preview.noMatch">
        <source>CustomRegExDialog.preview.noMatch</source>
        <translation>Der Ausdruck passt nicht auf die Beispielzeile: Es würde nichts getippt.</translation>
    </message>
    <message id="CustomRegExDialog.preview.noSample">
        <source>CustomRegExDialog.preview.noSample</source>
        <translation>Geben Sie eine Beispielzeile ein, um den Ausdruck zu testen.</translation>
    </message>
    <message id="CustomRegExDialog.preview.noSuchGroup">
        <source>CustomRegExDialog.preview.noSuchGroup</source>
        <translation>Der Ausdruck hat keine Erfassungsgruppe {0}: Die Zeile würde als Fehler gemeldet.</translation>
    </message>
    <message id="CustomRegExDialog.regExLabel.text">
        <source>CustomRegExDialog.regExLabel.text</source>
        <translation>&amp;Regulärer Ausdruck:</translation>
    </message>
    <message id="CustomRegExDialog.regExTextArea.toolTipText">
        <source>CustomRegExDialog.regExTextArea.toolTipText</source>
        <translation>Ihr eigener Ausdruck, der statt dem des Geräts verwendet wird. Er muss eine Erfassungsgruppe in Klammern enthalten; leer: der Ausdruck des Geräts wird verwendet.</translation>
    </message>
    <message id="CustomRegExDialog.resultLabel.text">
        <source>CustomRegExDialog.resultLabel.text</source>
        <translation>Ergebnis:</translation>
    </message>
    <message id="CustomRegExDialog.sampleLabel.text">
        <source>CustomRegExDialog.sampleLabel.text</source>
        <translation>&amp;Beispielzeile:</translation>
    </message>
    <message id="CustomRegExDialog.sampleTextField.toolTipText">
        <source>CustomRegExDialog.sampleTextField.toolTipText</source>
        <translation>Fügen Sie eine Zeile ein, wie das Gerät sie sendet; das Ergebnis darunter zeigt, was daraus getippt würde. Hier wird nichts gespeichert.</translation>
    </message>
    <message id="CustomRegExDialog.this.title">
        <source>CustomRegExDialog.this.title</source>
        <translation>Eigener regulärer Ausdruck</translation>
    </message>
    <message id="IgnoreDialog.cancelButton.text">
        <source>IgnoreDialog.cancelButton.text</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message id="IgnoreDialog.cancelButton.toolTipText">
        <source>IgnoreDialog.cancelButton.toolTipText</source>
        <translation>Schließt den Dialog ohne Änderungen.</translation>
    </message>
    <message id="IgnoreDialog.ignoreDifferenceTextField.toolTipText">
        <source>IgnoreDialog.ignoreDifferenceTextField.toolTipText</source>
        <translation>Werte, die höchstens um diesen Betrag vom vorigen abweichen, gelten als Wiederholung, zum Beispiel 0,5 (ein Komma gilt als Dezimalpunkt). Zahl größer als 0; leer: nur gleiche Werte.</translation>
    </message>
    <message id="IgnoreDialog.ignoreTimeLimitTextField.toolTipText">
        <source>IgnoreDialog.ignoreTimeLimitTextField.toolTipText</source>
        <translation>Ein wiederholter Wert wird nur unterdrückt, wenn er innerhalb so vieler Millisekunden nach dem vorigen eintrifft. Ganze Zahl größer als 0; leer: keine Zeitgrenze.</translation>
    </message>
    <message id="IgnoreDialog.label1.text">
        <source>IgnoreDialog.label1.text</source>
        <translation>Ein Wert, der den vorigen wiederholt, wird nicht erneut getippt. Ein leeres Feld wird nicht verwendet.</translation>
    </message>
    <message id="IgnoreDialog.label2.text">
        <source>IgnoreDialog.label2.text</source>
        <translation>&amp;Zeitgrenze:</translation>
    </message>
    <message id="IgnoreDialog.label3.text">
        <source>IgnoreDialog.label3.text</source>
        <translation>&amp;Differenz:</translation>
    </message>
    <message id="IgnoreDialog.okButton.text">
        <source>IgnoreDialog.okButton.text</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="IgnoreDialog.okButton.toolTipText">
        <source>IgnoreDialog.okButton.toolTipText</source>
        <translation>Prüft beide Werte und übernimmt sie.</translation>
    </message>
    <message id="IgnoreDialog.this.title">
        <source>IgnoreDialog.this.title</source>
        <translation>Doppelte Werte unterdrücken</translation>
    </message>
    <message id="IgnoreDialog.unitLabel.text">
        <source>IgnoreDialog.unitLabel.text</source>
        <translation>ms</translation>
    </message>
    <message id="WeightToKeyFrame2.abortAutoStartCheckBox.text">
        <source>WeightToKeyFrame2.abortAutoStartCheckBox.text</source>
        <translation>Automatischen Start a&amp;bbrechen, wenn der letzte Anschluss fehlt</translation>
    </message>
    <message id="WeightToKeyFrame2.abortAutoStartCheckBox.toolTipText">
        <source>WeightToKeyFrame2.abortAutoStartCheckBox.toolTipText</source>
        <translation>Nicht an einem anderen Anschluss als beim letzten Mal starten.</translation>
    </message>
    <message id="WeightToKeyFrame2.aboutPane.text">
        <source>WeightToKeyFrame2.aboutPane.text</source>
        <translation>&lt;h2&gt;Brindle Tallyra&lt;/h2&gt;&lt;p&gt;Tallyra liest die Werte, die Ihre Waage, Ihr Messgerät oder Ihr Barcodeleser über eine serielle Schnittstelle sendet, und tippt sie in die Anwendung, die den Tastaturfokus hat.&lt;/p&gt;&lt;p&gt;Lizenz: &lt;a href="https://opensource.org/license/mit"&gt;MIT&lt;/a&gt;. &lt;a href="https://www.qt.io/"&gt;Qt&lt;/a&gt;, &lt;a href="https://www.fluidsynth.org/"&gt;FluidSynth&lt;/a&gt; und &lt;a href="https://gmplib.org/"&gt;GMP&lt;/a&gt; werden unter der &lt;a href="https://www.gnu.org/licenses/lgpl-3.0.html"&gt;LGPL&lt;/a&gt; verwendet.&lt;/p&gt;</translation>
    </message>
    <message id="WeightToKeyFrame2.aboutPanel.tab.title">
        <source>WeightToKeyFrame2.aboutPanel.tab.title</source>
        <translation>Info</translation>
    </message>
    <message id="WeightToKeyFrame2.adjustIgnoreButton.text">
        <source>WeightToKeyFrame2.adjustIgnoreButton.text</source>
        <translation>Anpa&amp;ssen…</translation>
    </message>
    <message id="WeightToKeyFrame2.adjustIgnoreButton.toolTipText">
        <source>WeightToKeyFrame2.adjustIgnoreButton.toolTipText</source>
        <translation>Zeitgrenze und Toleranz für doppelte Werte.</translation>
    </message>
    <message id="WeightToKeyFrame2.autoButton.text">
        <source>WeightToKeyFrame2.autoButton.text</source>
        <translation>Automatisch &amp;finden…</translation>
    </message>
    <message id="WeightToKeyFrame2.autoButton.toolTipText">
        <source>WeightToKeyFrame2.autoButton.toolTipText</source>
        <translation>Den Anschluss des Geräts über seine Steuerleitungen finden.</translation>
    </message>
    <message id="WeightToKeyFrame2.autoConnectButton.text">
        <source>WeightToKeyFrame2.autoConnectButton.text</source>
        <translation>&amp;Automatisch beim Programmstart</translation>
    </message>
    <message id="WeightToKeyFrame2.autoConnectButton.toolTipText">
        <source>WeightToKeyFrame2.autoConnectButton.toolTipText</source>
        <translation>Das Lesen beginnt, sobald das Programm gestartet ist.</translation>
    </message>
    <message id="WeightToKeyFrame2.bitRateBox.toolTipText">
        <source>WeightToKeyFrame2.bitRateBox.toolTipText</source>
        <translation>Übertragungsgeschwindigkeit in Bit pro Sekunde (110 bis 921600); muss zum Gerät passen.</translation>
    </message>
    <message id="WeightToKeyFrame2.bitRateLabel.text">
        <source>WeightToKeyFrame2.bitRateLabel.text</source>
        <translation>&amp;Baudrate:</translation>
    </message>
    <message id="WeightToKeyFrame2.checkForUpdatesCheckBox.text">
        <source>WeightToKeyFrame2.checkForUpdatesCheckBox.text</source>
        <translation>Beim Start nach neuer &amp;Version suchen</translation>
    </message>
    <message id="WeightToKeyFrame2.checkForUpdatesCheckBox.toolTipText">
        <source>WeightToKeyFrame2.checkForUpdatesCheckBox.toolTipText</source>
        <translation>Ab und zu die neueste Version abfragen und in der Statuszeile melden.</translation>
    </message>
    <message id="WeightToKeyFrame2.connectLabel.text">
        <source>WeightToKeyFrame2.connectLabel.text</source>
        <translation>Lesen beginnt</translation>
    </message>
    <message id="WeightToKeyFrame2.customizeButton.text">
        <source>WeightToKeyFrame2.customizeButton.text</source>
        <translation>&amp;Muster anpassen…</translation>
    </message>
    <message id="WeightToKeyFrame2.customizeButton.toolTipText">
        <source>WeightToKeyFrame2.customizeButton.toolTipText</source>
        <translation>Einen eigenen regulären Ausdruck zum Finden des Werts verwenden.</translation>
    </message>
    <message id="WeightToKeyFrame2.customPatternLabel.text">
        <source>WeightToKeyFrame2.customPatternLabel.text</source>
        <translation>eigenes Muster</translation>
    </message>
    <message id="WeightToKeyFrame2.customPatternLabel.toolTipText">
        <source>WeightToKeyFrame2.customPatternLabel.toolTipText</source>
        <translation>Der Wert wird mit Ihrem eigenen Ausdruck {0} gefunden, nicht mit dem der Gerätevorlage. „Muster anpassen“ ändert oder entfernt ihn.</translation>
    </message>
    <message id="WeightToKeyFrame2.dataBitsBox.toolTipText">
        <source>WeightToKeyFrame2.dataBitsBox.toolTipText</source>
        <translation>Datenbits pro Zeichen (5 bis 8); muss zum Gerät passen.</translation>
    </message>
    <message id="WeightToKeyFrame2.dataBitsLabel.text">
        <source>WeightToKeyFrame2.dataBitsLabel.text</source>
        <translation>&amp;Datenbits:</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalLabel.text">
        <source>WeightToKeyFrame2.decimalLabel.text</source>
        <translation>&amp;Nachkommastellen:</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalSeparatorBox.toolTipText">
        <source>WeightToKeyFrame2.decimalSeparatorBox.toolTipText</source>
        <translation>Das in Zahlen getippte Trennzeichen: Punkt oder Komma.</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalSeparatorLabel.text">
        <source>WeightToKeyFrame2.decimalSeparatorLabel.text</source>
        <translation>&amp;Dezimaltrennzeichen:</translation>
    </message>
    <message id="WeightToKeyFrame2.decimalTextField.toolTipText">
        <source>WeightToKeyFrame2.decimalTextField.toolTipText</source>
        <translation>Jeden Wert auf 0 bis 7 Nachkommastellen runden; leer für keine Rundung.</translation>
    </message>
    <message id="WeightToKeyFrame2.defaultButton.text">
        <source>WeightToKeyFrame2.defaultButton.text</source>
        <translation>Standard&amp;werte</translation>
    </message>
    <message id="WeightToKeyFrame2.defaultButton.toolTipText">
        <source>WeightToKeyFrame2.defaultButton.toolTipText</source>
        <translation>Baudrate, Datenbits, Stoppbits, Parität und Zeilenende auf die Werte des Instruments setzen.</translation>
    </message>
    <message id="WeightToKeyFrame2.delayLabel.text">
        <source>WeightToKeyFrame2.delayLabel.text</source>
        <translation>&amp;Verzögerung zwischen Tasten (ms):</translation>
    </message>
    <message id="WeightToKeyFrame2.delayTextField.toolTipText">
        <source>WeightToKeyFrame2.delayTextField.toolTipText</source>
        <translation>0 bis 1000 Millisekunden nach jedem Drücken und Loslassen; leer für 20.</translation>
    </message>
    <message id="WeightToKeyFrame2.deviceLabel.text">
        <source>WeightToKeyFrame2.deviceLabel.text</source>
        <translation>Instrument:</translation>
    </message>
    <message id="WeightToKeyFrame2.editNumCharactersLabel.text">
        <source>WeightToKeyFrame2.editNumCharactersLabel.text</source>
        <translation>&amp;Anzahl Zeichen:</translation>
    </message>
    <message id="WeightToKeyFrame2.editNumCharactersTextField.toolTipText">
        <source>WeightToKeyFrame2.editNumCharactersTextField.toolTipText</source>
        <translation>1 bis 99 Zeichen; leer für keine Bearbeitung.</translation>
    </message>
    <message id="WeightToKeyFrame2.editOperationComboBox.toolTipText">
        <source>WeightToKeyFrame2.editOperationComboBox.toolTipText</source>
        <translation>Eine Anzahl Zeichen jedes Werts entfernen oder behalten.</translation>
    </message>
    <message id="WeightToKeyFrame2.editOperationLabel.text">
        <source>WeightToKeyFrame2.editOperationLabel.text</source>
        <translation>&amp;Bearbeitung:</translation>
    </message>
    <message id="WeightToKeyFrame2.editPositionComboBox.toolTipText">
        <source>WeightToKeyFrame2.editPositionComboBox.toolTipText</source>
        <translation>Ob am Anfang oder am Ende des Werts bearbeitet wird.</translation>
    </message>
    <message id="WeightToKeyFrame2.editPositionLabel.text">
        <source>WeightToKeyFrame2.editPositionLabel.text</source>
        <translation>&amp;Position:</translation>
    </message>
    <message id="WeightToKeyFrame2.eventLogPane.toolTipText">
        <source>WeightToKeyFrame2.eventLogPane.toolTipText</source>
        <translation>Jedes Ereignis und jede empfangene Zeile. Grün: der getippte Teil; grau: ignoriert; fett: ein Wert wurde getippt, lässt sich in der Zeile aber nicht markieren, oft weil das Zeilenende-Byte nicht zum Gerät passt (die Zeile beginnt dann mit einem Zeichen wie &lt;10&gt;); rot: wichtig.</translation>
    </message>
    <message id="WeightToKeyFrame2.eventLogPanel.tab.title">
        <source>WeightToKeyFrame2.eventLogPanel.tab.title</source>
        <translation>Ereignisprotokoll</translation>
    </message>
    <message id="WeightToKeyFrame2.everyXValuesLabel.text">
        <source>WeightToKeyFrame2.everyXValuesLabel.text</source>
        <translation>Zweite Abschlusstaste nach jedem &amp;X. Wert:</translation>
    </message>
    <message id="WeightToKeyFrame2.everyXValuesTextField.toolTipText">
        <source>WeightToKeyFrame2.everyXValuesTextField.toolTipText</source>
        <translation>2 bis 99; leer, um nur die erste Abschlusstaste zu verwenden.</translation>
    </message>
    <message id="WeightToKeyFrame2.exportSettingsButton.text">
        <source>WeightToKeyFrame2.exportSettingsButton.text</source>
        <translation>Einstellungen e&amp;xportieren…</translation>
    </message>
    <message id="WeightToKeyFrame2.exportSettingsButton.toolTipText">
        <source>WeightToKeyFrame2.exportSettingsButton.toolTipText</source>
        <translation>Die Einstellungen in eine Datei speichern.</translation>
    </message>
    <message id="WeightToKeyFrame2.ignoreDuplicatesCheckBox.text">
        <source>WeightToKeyFrame2.ignoreDuplicatesCheckBox.text</source>
        <translation>&amp;Doppelte Werte ignorieren</translation>
    </message>
    <message id="WeightToKeyFrame2.ignoreDuplicatesCheckBox.toolTipText">
        <source>WeightToKeyFrame2.ignoreDuplicatesCheckBox.toolTipText</source>
        <translation>Einen Wert, der den vorigen wiederholt, nicht tippen.</translation>
    </message>
    <message id="WeightToKeyFrame2.importSettingsButton.text">
        <source>WeightToKeyFrame2.importSettingsButton.text</source>
        <translation>Einstellungen im&amp;portieren…</translation>
    </message>
    <message id="WeightToKeyFrame2.importSettingsButton.toolTipText">
        <source>WeightToKeyFrame2.importSettingsButton.toolTipText</source>
        <translation>Einstellungen aus einer exportierten Datei laden.</translation>
    </message>
    <message id="WeightToKeyFrame2.inputPanel.tab.title">
        <source>WeightToKeyFrame2.inputPanel.tab.title</source>
        <translation>Eingang</translation>
    </message>
    <message id="WeightToKeyFrame2.inputTerminatorBox.toolTipText">
        <source>WeightToKeyFrame2.inputTerminatorBox.toolTipText</source>
        <translation>Das Byte (0 bis 255), das jede Zeile des Geräts beendet; auswählen oder eintippen.</translation>
    </message>
    <message id="WeightToKeyFrame2.inputTerminatorLabel.text">
        <source>WeightToKeyFrame2.inputTerminatorLabel.text</source>
        <translation>Zeilen&amp;ende (Byte):</translation>
    </message>
    <message id="WeightToKeyFrame2.instrumentBox.toolTipText">
        <source>WeightToKeyFrame2.instrumentBox.toolTipText</source>
        <translation>Die Gerätevorlage: ihre Leitungseinstellungen und wie der Wert in jeder gesendeten Zeile gefunden wird. Vorlagen in Kursivschrift tippen Text, die anderen Zahlen.</translation>
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
        <translation>Jeden Messwert im &amp;Journal festhalten</translation>
    </message>
    <message id="WeightToKeyFrame2.journalCheckBox.toolTipText">
        <source>WeightToKeyFrame2.journalCheckBox.toolTipText</source>
        <translation>Jede gelesene Zeile wird an eine Datei pro Tag (tallyra-JJJJ-MM-TT.jsonl) angehängt, mit Zeit, Schnittstelle, Vorlage, Wert und ob er getippt wurde; das Lesen geht weiter, auch wenn das Journal nicht geschrieben werden kann</translation>
    </message>
    <message id="WeightToKeyFrame2.journalDaysLabel.text">
        <source>WeightToKeyFrame2.journalDaysLabel.text</source>
        <translation>Aufbewahren (&amp;Tage):</translation>
    </message>
    <message id="WeightToKeyFrame2.journalDaysTextField.toolTipText">
        <source>WeightToKeyFrame2.journalDaysTextField.toolTipText</source>
        <translation>Journaldateien, die älter als so viele Tage sind, werden gelöscht; 0 behält alle Dateien (0 bis 36500)</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderButton.text">
        <source>WeightToKeyFrame2.journalFolderButton.text</source>
        <translation>&amp;Auswählen…</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderButton.toolTipText">
        <source>WeightToKeyFrame2.journalFolderButton.toolTipText</source>
        <translation>Den Ordner der Journaldateien auswählen</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderLabel.text">
        <source>WeightToKeyFrame2.journalFolderLabel.text</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message id="WeightToKeyFrame2.journalFolderTextField.toolTipText">
        <source>WeightToKeyFrame2.journalFolderTextField.toolTipText</source>
        <translation>Ordner der Journaldateien; leer: der grau angezeigte Datenordner des Programms</translation>
    </message>
    <message id="WeightToKeyFrame2.journalMqttPanel.tab.title">
        <source>WeightToKeyFrame2.journalMqttPanel.tab.title</source>
        <translation>Journal/MQTT</translation>
    </message>
    <message id="WeightToKeyFrame2.keyboardTypeBox.toolTipText">
        <source>WeightToKeyFrame2.keyboardTypeBox.toolTipText</source>
        <translation>Die Tastaturbelegung dieses Rechners; ALLE tippt ALT-Codes und passt zu jeder Belegung.</translation>
    </message>
    <message id="WeightToKeyFrame2.keyboardTypeLabel.text">
        <source>WeightToKeyFrame2.keyboardTypeLabel.text</source>
        <translation>&amp;Tastaturbelegung:</translation>
    </message>
    <message id="WeightToKeyFrame2.manualConnectButton.text">
        <source>WeightToKeyFrame2.manualConnectButton.text</source>
        <translation>&amp;Manuell mit der Start-Schaltfläche</translation>
    </message>
    <message id="WeightToKeyFrame2.manualConnectButton.toolTipText">
        <source>WeightToKeyFrame2.manualConnectButton.toolTipText</source>
        <translation>Das Lesen beginnt erst, wenn Sie Start drücken.</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperandLabel.text">
        <source>WeightToKeyFrame2.mathOperandLabel.text</source>
        <translation>&amp;Operand:</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperandTextField.toolTipText">
        <source>WeightToKeyFrame2.mathOperandTextField.toolTipText</source>
        <translation>Eine Dezimalzahl außer 0; leer für keinen.</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperationBox.toolTipText">
        <source>WeightToKeyFrame2.mathOperationBox.toolTipText</source>
        <translation>Jeden Wert mit dem Operanden multiplizieren oder durch ihn teilen.</translation>
    </message>
    <message id="WeightToKeyFrame2.mathOperationLabel.text">
        <source>WeightToKeyFrame2.mathOperationLabel.text</source>
        <translation>&amp;Rechenart:</translation>
    </message>
    <message id="WeightToKeyFrame2.minimizeToTrayCheckBox.text">
        <source>WeightToKeyFrame2.minimizeToTrayCheckBox.text</source>
        <translation>In den &amp;Infobereich minimieren</translation>
    </message>
    <message id="WeightToKeyFrame2.minimizeToTrayCheckBox.toolTipText">
        <source>WeightToKeyFrame2.minimizeToTrayCheckBox.toolTipText</source>
        <translation>Ein minimiertes Fenster geht in den Infobereich (ab dem nächsten Start).</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttBox.title">
        <source>WeightToKeyFrame2.mqttBox.title</source>
        <translation>MQTT-Broker</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileButton.text">
        <source>WeightToKeyFrame2.mqttCaFileButton.text</source>
        <translation>&amp;Durchsuchen…</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileButton.toolTipText">
        <source>WeightToKeyFrame2.mqttCaFileButton.toolTipText</source>
        <translation>Die PEM-Datei der Zertifizierungsstelle auswählen</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileLabel.text">
        <source>WeightToKeyFrame2.mqttCaFileLabel.text</source>
        <translation>&amp;CA-Datei:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCaFileTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttCaFileTextField.toolTipText</source>
        <translation>PEM-Datei der Zertifizierungsstelle, die das Zertifikat des Brokers ausgestellt hat; leer: die Zertifizierungsstellen des Systems</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCheckBox.text">
        <source>WeightToKeyFrame2.mqttCheckBox.text</source>
        <translation>Jeden Wert an einen MQTT-Broker &amp;veröffentlichen</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttCheckBox.toolTipText">
        <source>WeightToKeyFrame2.mqttCheckBox.toolTipText</source>
        <translation>Jeder Wert wird mit QoS 1 als JSON-Objekt mit Laufnummer gesendet; solange der Broker nicht erreichbar ist, warten bis zu 10.000 Werte im Speicher und werden danach der Reihe nach gesendet</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttHostLabel.text">
        <source>WeightToKeyFrame2.mqttHostLabel.text</source>
        <translation>&amp;Host:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttHostTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttHostTextField.toolTipText</source>
        <translation>Name oder Adresse des Brokers, ohne Leerzeichen</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttNotAvailableLabel.text">
        <source>WeightToKeyFrame2.mqttNotAvailableLabel.text</source>
        <translation>MQTT ist in dieser Ausgabe des Programms nicht verfügbar.</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPasswordLabel.text">
        <source>WeightToKeyFrame2.mqttPasswordLabel.text</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPasswordTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttPasswordTextField.toolTipText</source>
        <translation>Passwort beim Broker; wird in den Einstellungen dieses Computers gespeichert, aber nie exportiert oder protokolliert</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPortLabel.text">
        <source>WeightToKeyFrame2.mqttPortLabel.text</source>
        <translation>&amp;Port:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttPortTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttPortTextField.toolTipText</source>
        <translation>Netzwerkport des Brokers, 1 bis 65535 (meist 1883, mit TLS 8883)</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttRetainCheckBox.text">
        <source>WeightToKeyFrame2.mqttRetainCheckBox.text</source>
        <translation>Letzten Wert beim Broker beha&amp;lten</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttRetainCheckBox.toolTipText">
        <source>WeightToKeyFrame2.mqttRetainCheckBox.toolTipText</source>
        <translation>Der Broker hält den letzten Wert für später verbundene Abonnenten bereit</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTlsCheckBox.text">
        <source>WeightToKeyFrame2.mqttTlsCheckBox.text</source>
        <translation>Verbindung verschlüsseln (TL&amp;S)</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTlsCheckBox.toolTipText">
        <source>WeightToKeyFrame2.mqttTlsCheckBox.toolTipText</source>
        <translation>TLS: die Verbindung wird verschlüsselt und das Zertifikat des Brokers geprüft</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTopicLabel.text">
        <source>WeightToKeyFrame2.mqttTopicLabel.text</source>
        <translation>Th&amp;ema:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttTopicTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttTopicTextField.toolTipText</source>
        <translation>Thema (Topic) der Werte; &lt;hostname&gt; und &lt;port&gt; werden durch den Namen dieses Computers und die Schnittstelle ersetzt; kein + oder #</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttUserLabel.text">
        <source>WeightToKeyFrame2.mqttUserLabel.text</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message id="WeightToKeyFrame2.mqttUserTextField.toolTipText">
        <source>WeightToKeyFrame2.mqttUserTextField.toolTipText</source>
        <translation>Benutzername beim Broker; leer: keiner</translation>
    </message>
    <message id="WeightToKeyFrame2.nextStep.idle">
        <source>WeightToKeyFrame2.nextStep.idle</source>
        <translation>Gerät anschließen, Anschluss und Instrument prüfen, dann Start drücken.</translation>
    </message>
    <message id="WeightToKeyFrame2.nextStep.running">
        <source>WeightToKeyFrame2.nextStep.running</source>
        <translation>Liest. Klicken Sie in die Anwendung, die die Werte erhalten soll. Mit Stopp beenden.</translation>
    </message>
    <message id="WeightToKeyFrame2.nextStep.waiting">
        <source>WeightToKeyFrame2.nextStep.waiting</source>
        <translation>Schließen Sie das Gerät wieder an: Das Lesen geht von selbst weiter. Mit Stopp beenden.</translation>
    </message>
    <message id="WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.text">
        <source>WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.text</source>
        <translation>Beim Minimieren be&amp;nachrichtigen</translation>
    </message>
    <message id="WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.toolTipText">
        <source>WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.toolTipText</source>
        <translation>Eine Meldung zeigen, wenn das Fenster in den Infobereich geht.</translation>
    </message>
    <message id="WeightToKeyFrame2.outputPanel.tab.title">
        <source>WeightToKeyFrame2.outputPanel.tab.title</source>
        <translation>Ausgabe</translation>
    </message>
    <message id="WeightToKeyFrame2.outputStatusLabel.toolTipText">
        <source>WeightToKeyFrame2.outputStatusLabel.toolTipText</source>
        <translation>Zustand des MQTT-Brokers, solange beim Lesen an ihn veröffentlicht wird</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminator2Label.text">
        <source>WeightToKeyFrame2.outputTerminator2Label.text</source>
        <translation>&amp;Zweite Abschlusstaste:</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminatorBox.toolTipText">
        <source>WeightToKeyFrame2.outputTerminatorBox.toolTipText</source>
        <translation>Die Taste, die nach jedem Wert getippt wird.</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminatorBox2.toolTipText">
        <source>WeightToKeyFrame2.outputTerminatorBox2.toolTipText</source>
        <translation>Die Taste, die nach jedem X-ten Wert statt der Abschlusstaste getippt wird.</translation>
    </message>
    <message id="WeightToKeyFrame2.outputTerminatorLabel.text">
        <source>WeightToKeyFrame2.outputTerminatorLabel.text</source>
        <translation>&amp;Abschlusstaste:</translation>
    </message>
    <message id="WeightToKeyFrame2.panel1.tab.title">
        <source>WeightToKeyFrame2.panel1.tab.title</source>
        <translation>Start</translation>
    </message>
    <message id="WeightToKeyFrame2.parityBox.toolTipText">
        <source>WeightToKeyFrame2.parityBox.toolTipText</source>
        <translation>Paritätsprüfung jedes Zeichens; muss zum Gerät passen.</translation>
    </message>
    <message id="WeightToKeyFrame2.parityLabel.text">
        <source>WeightToKeyFrame2.parityLabel.text</source>
        <translation>Pa&amp;rität:</translation>
    </message>
    <message id="WeightToKeyFrame2.portLabel.text">
        <source>WeightToKeyFrame2.portLabel.text</source>
        <translation>&amp;Anschluss:</translation>
    </message>
    <message id="WeightToKeyFrame2.portList.toolTipText">
        <source>WeightToKeyFrame2.portList.toolTipText</source>
        <translation>Die serielle Schnittstelle, an der das Gerät hängt. Ein nicht aufgeführter Anschluss kann eingetippt werden, ein Gerät im Netzwerk als tcp://HOST:PORT.</translation>
    </message>
    <message id="WeightToKeyFrame2.processingPanel.tab.title">
        <source>WeightToKeyFrame2.processingPanel.tab.title</source>
        <translation>Verarbeitung</translation>
    </message>
    <message id="WeightToKeyFrame2.reconnectCheckBox.text">
        <source>WeightToKeyFrame2.reconnectCheckBox.text</source>
        <translation>Abgezogenes Gerät nach der Rückkehr &amp;wieder verbinden</translation>
    </message>
    <message id="WeightToKeyFrame2.reconnectCheckBox.toolTipText">
        <source>WeightToKeyFrame2.reconnectCheckBox.toolTipText</source>
        <translation>Verschwindet der Anschluss des Geräts während des Lesens (abgezogener USB-Adapter, unterbrochene Netzwerkverbindung), läuft das Lesen weiter: Tallyra wartet, bis derselbe Anschluss zurückkehrt, und öffnet ihn mit denselben Einstellungen wieder. Aus: Das Lesen endet.</translation>
    </message>
    <message id="WeightToKeyFrame2.refreshPortsButton.text">
        <source>WeightToKeyFrame2.refreshPortsButton.text</source>
        <translation>Ak&amp;tualisieren</translation>
    </message>
    <message id="WeightToKeyFrame2.refreshPortsButton.toolTipText">
        <source>WeightToKeyFrame2.refreshPortsButton.toolTipText</source>
        <translation>Die seriellen Anschlüsse dieses Rechners neu auflisten.</translation>
    </message>
    <message id="WeightToKeyFrame2.removeCharactersLabel.text">
        <source>WeightToKeyFrame2.removeCharactersLabel.text</source>
        <translation>Zeichen ent&amp;fernen:</translation>
    </message>
    <message id="WeightToKeyFrame2.removeCharactersTextField.toolTipText">
        <source>WeightToKeyFrame2.removeCharactersTextField.toolTipText</source>
        <translation>Jedes hier eingetippte Zeichen wird aus den Werten entfernt (Codes 0 bis 255).</translation>
    </message>
    <message id="WeightToKeyFrame2.requestCommandBox.toolTipText">
        <source>WeightToKeyFrame2.requestCommandBox.toolTipText</source>
        <translation>Der Befehl, der beim Gerät einen Wert anfordert. Steuerzeichen werden so geschrieben, wie das Protokoll sie zeigt: &lt;13&gt; ist CR, &lt;10&gt; ist LF, &lt;27&gt; ist ESC (Codes 0 bis 255). Die Liste bietet die Befehle des Geräts an.</translation>
    </message>
    <message id="WeightToKeyFrame2.requestCommandLabel.text">
        <source>WeightToKeyFrame2.requestCommandLabel.text</source>
        <translation>Anfrage-Befe&amp;hl:</translation>
    </message>
    <message id="WeightToKeyFrame2.requestIntervalLabel.text">
        <source>WeightToKeyFrame2.requestIntervalLabel.text</source>
        <translation>Anfrage a&amp;lle (ms):</translation>
    </message>
    <message id="WeightToKeyFrame2.requestIntervalTextField.toolTipText">
        <source>WeightToKeyFrame2.requestIntervalTextField.toolTipText</source>
        <translation>Millisekunden zwischen zwei Anfragen, 100 bis 3600000.</translation>
    </message>
    <message id="WeightToKeyFrame2.requestJButton.text">
        <source>WeightToKeyFrame2.requestJButton.text</source>
        <translation>Wert &amp;anfordern</translation>
    </message>
    <message id="WeightToKeyFrame2.requestJButton.toolTipText">
        <source>WeightToKeyFrame2.requestJButton.toolTipText</source>
        <translation>Sendet den Anfrage-Befehl an das Gerät; seine Antwort wird wie jeder Wert getippt.</translation>
    </message>
    <message id="WeightToKeyFrame2.requestModeBox.toolTipText">
        <source>WeightToKeyFrame2.requestModeBox.toolTipText</source>
        <translation>Wann der Anfrage-Befehl gesendet wird: nie, einmal nach dem Öffnen der Schnittstelle, in regelmäßigen Abständen oder auf Anforderung mit der Schaltfläche „Wert anfordern“ auf der Hauptseite (und Strg+Umschalt+F12 aus jedem Programm, wo der Desktop es erlaubt).</translation>
    </message>
    <message id="WeightToKeyFrame2.requestModeLabel.text">
        <source>WeightToKeyFrame2.requestModeLabel.text</source>
        <translation>Wert a&amp;nfordern:</translation>
    </message>
    <message id="WeightToKeyFrame2.roundingMethodBox.toolTipText">
        <source>WeightToKeyFrame2.roundingMethodBox.toolTipText</source>
        <translation>Wie ein Wert auf die Nachkommastellen gerundet wird.</translation>
    </message>
    <message id="WeightToKeyFrame2.roundingMethodLabel.text">
        <source>WeightToKeyFrame2.roundingMethodLabel.text</source>
        <translation>R&amp;undung:</translation>
    </message>
    <message id="WeightToKeyFrame2.settingsPanel.tab.title">
        <source>WeightToKeyFrame2.settingsPanel.tab.title</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="WeightToKeyFrame2.soundComboBox.toolTipText">
        <source>WeightToKeyFrame2.soundComboBox.toolTipText</source>
        <translation>Ein kurzer Ton für jeden empfangenen Wert; keiner für Stille.</translation>
    </message>
    <message id="WeightToKeyFrame2.soundLabel.text">
        <source>WeightToKeyFrame2.soundLabel.text</source>
        <translation>T&amp;on:</translation>
    </message>
    <message id="WeightToKeyFrame2.stableOnlyCheckBox.text">
        <source>WeightToKeyFrame2.stableOnlyCheckBox.text</source>
        <translation>Nur &amp;stabile Werte</translation>
    </message>
    <message id="WeightToKeyFrame2.stableOnlyCheckBox.toolTipText">
        <source>WeightToKeyFrame2.stableOnlyCheckBox.toolTipText</source>
        <translation>Zeilen, die das Gerät als noch nicht stabil kennzeichnet (MT-SICS S D, A&amp;D US), erscheinen im Protokoll als nicht stabil und werden nicht getippt. Bei Geräten ohne Stabilitätsangabe wird jeder Wert getippt.</translation>
    </message>
    <message id="WeightToKeyFrame2.startStopJButton.text">
        <source>WeightToKeyFrame2.startStopJButton.text</source>
        <translation>&amp;Start</translation>
    </message>
    <message id="WeightToKeyFrame2.startStopJButton.textStop">
        <source>WeightToKeyFrame2.startStopJButton.textStop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message id="WeightToKeyFrame2.startStopJButton.toolTipText">
        <source>WeightToKeyFrame2.startStopJButton.toolTipText</source>
        <translation>Startet das Lesen des Geräts am gewählten Anschluss und das Tippen der Werte; erneut drücken zum Anhalten.</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithBox.toolTipText">
        <source>WeightToKeyFrame2.startWithBox.toolTipText</source>
        <translation>Eine Taste, die vor jedem Wert getippt wird.</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithLabel.text">
        <source>WeightToKeyFrame2.startWithLabel.text</source>
        <translation>&amp;Starttaste:</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithSessionCheckBox.text">
        <source>WeightToKeyFrame2.startWithSessionCheckBox.text</source>
        <translation>Mit der Desktop-&amp;Sitzung starten</translation>
    </message>
    <message id="WeightToKeyFrame2.startWithSessionCheckBox.toolTipText">
        <source>WeightToKeyFrame2.startWithSessionCheckBox.toolTipText</source>
        <translation>Startet Tallyra bei der Anmeldung am Desktop, über einen Autostart-Eintrag (~/.config/autostart/tallyra.desktop). Zusammen mit der automatischen Verbindung beginnt das Lesen ohne einen Klick.</translation>
    </message>
    <message id="WeightToKeyFrame2.statusJLabel.text">
        <source>WeightToKeyFrame2.statusJLabel.text</source>
        <translation>Bereit. Zum Einlesen vom Gerät auf Start drücken.</translation>
    </message>
    <message id="WeightToKeyFrame2.statusJLabel.toolTipText">
        <source>WeightToKeyFrame2.statusJLabel.toolTipText</source>
        <translation>Was das Programm gerade tut.</translation>
    </message>
    <message id="WeightToKeyFrame2.stopBitsBox.toolTipText">
        <source>WeightToKeyFrame2.stopBitsBox.toolTipText</source>
        <translation>Stoppbits pro Zeichen (1 oder 2); muss zum Gerät passen.</translation>
    </message>
    <message id="WeightToKeyFrame2.stopBitsLabel.text">
        <source>WeightToKeyFrame2.stopBitsLabel.text</source>
        <translation>St&amp;oppbits:</translation>
    </message>
    <message id="WeightToKeyFrame2.tareJButton.text">
        <source>WeightToKeyFrame2.tareJButton.text</source>
        <translation>&amp;Tarieren</translation>
    </message>
    <message id="WeightToKeyFrame2.tareJButton.toolTipText">
        <source>WeightToKeyFrame2.tareJButton.toolTipText</source>
        <translation>Sendet den Tarierbefehl des Geräts.</translation>
    </message>
    <message id="WeightToKeyFrame2.updatesLabel.text">
        <source>WeightToKeyFrame2.updatesLabel.text</source>
        <translation>Aktualisierungen:</translation>
    </message>
    <message id="WeightToKeyFrame2.zeroJButton.text">
        <source>WeightToKeyFrame2.zeroJButton.text</source>
        <translation>&amp;Nullstellen</translation>
    </message>
    <message id="WeightToKeyFrame2.zeroJButton.toolTipText">
        <source>WeightToKeyFrame2.zeroJButton.toolTipText</source>
        <translation>Sendet den Nullstellbefehl des Geräts.</translation>
    </message>
    <message id="access.error.while.loading.settings">
        <source>access.error.while.loading.settings</source>
        <translation>Die Einstellungen konnten nicht gelesen werden (Zugriff verweigert); es gelten die Standardwerte. </translation>
    </message>
    <message id="access.error.while.saving.settings">
        <source>access.error.while.saving.settings</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden (Zugriff verweigert). </translation>
    </message>
    <message id="autosave.error">
        <source>autosave.error</source>
        <translation>Speichern der Einstellungen fehlgeschlagen: </translation>
    </message>
    <message id="autostart.change.failed">
        <source>autostart.change.failed</source>
        <translation>Der Autostart-Eintrag konnte nicht geändert werden: </translation>
    </message>
    <message id="checking.for.update">
        <source>checking.for.update</source>
        <translation>Suche nach Aktualisierungen ...</translation>
    </message>
    <message id="configuration.exported.to.file.n">
        <source>configuration.exported.to.file.n</source>
        <translation>Konfiguration exportiert in die Datei:
</translation>
    </message>
    <message id="confirm">
        <source>confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message id="error">
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message id="error.decimal.places">
        <source>error.decimal.places</source>
        <translation>Nachkommastellen: eine ganze Zahl von 0 bis 7 eingeben oder leer lassen.</translation>
    </message>
    <message id="error.edit.everyXValues">
        <source>error.edit.everyXValues</source>
        <translation>Jeder X. Wert: eine ganze Zahl von 2 bis 99 eingeben oder leer lassen.</translation>
    </message>
    <message id="error.edit.numCharacters">
        <source>error.edit.numCharacters</source>
        <translation>Anzahl Zeichen: eine ganze Zahl von 1 bis 99 eingeben oder leer lassen.</translation>
    </message>
    <message id="error.edit.removeCharacters">
        <source>error.edit.removeCharacters</source>
        <translation>Zeichen entfernen: nur Zeichen mit den Codes 0 bis 255 können entfernt werden.</translation>
    </message>
    <message id="error.initializing.keyboard.output">
        <source>error.initializing.keyboard.output</source>
        <translation>Die Tastaturausgabe konnte nicht gestartet werden; Werte werden nicht getippt. </translation>
    </message>
    <message id="error.intercharacter.delay">
        <source>error.intercharacter.delay</source>
        <translation>Verzögerung zwischen Tasten: eine ganze Zahl von 0 bis 1000 Millisekunden eingeben oder leer lassen.</translation>
    </message>
    <message id="error.journal.days">
        <source>error.journal.days</source>
        <translation>Aufbewahren (Tage): Bitte eine ganze Zahl von 0 (alle Dateien behalten) bis 36500 eingeben.</translation>
    </message>
    <message id="error.listing.available.ports">
        <source>error.listing.available.ports</source>
        <translation>Fehler beim Auflisten der Anschlüsse. </translation>
    </message>
    <message id="error.math.operand">
        <source>error.math.operand</source>
        <translation>Operand: eine Dezimalzahl außer 0 eingeben oder leer lassen.</translation>
    </message>
    <message id="error.mqtt.host">
        <source>error.mqtt.host</source>
        <translation>MQTT-Host: Bitte einen Hostnamen oder eine Adresse ohne Leerzeichen eingeben.</translation>
    </message>
    <message id="error.mqtt.port">
        <source>error.mqtt.port</source>
        <translation>MQTT-Port: Bitte eine ganze Zahl von 1 bis 65535 eingeben.</translation>
    </message>
    <message id="error.mqtt.topic">
        <source>error.mqtt.topic</source>
        <translation>MQTT-Thema: Es darf nicht leer sein und weder + noch # enthalten.</translation>
    </message>
    <message id="error.opening.port">
        <source>error.opening.port</source>
        <translation>Fehler beim Öffnen des Anschlusses: </translation>
    </message>
    <message id="error.reading.settings">
        <source>error.reading.settings</source>
        <translation>Die Einstellungen konnten nicht gelesen werden; es gelten die Standardwerte. </translation>
    </message>
    <message id="error.request.command">
        <source>error.request.command</source>
        <translation>Der Anfrage-Befehl darf nur Zeichen mit den Codes 0 bis 255 enthalten; schreiben Sie Steuerzeichen als &lt;13&gt; mit einem Code von 0 bis 255.</translation>
    </message>
    <message id="error.request.interval">
        <source>error.request.interval</source>
        <translation>Die Zeit zwischen zwei Anfragen muss eine ganze Zahl von Millisekunden zwischen 100 und 3600000 sein.</translation>
    </message>
    <message id="error.while.initializing.sound.output">
        <source>error.while.initializing.sound.output</source>
        <translation>Die Tonausgabe konnte nicht geöffnet werden; es wird ohne Ton gelesen. </translation>
    </message>
    <message id="error.while.loading.settings">
        <source>error.while.loading.settings</source>
        <translation>Fehler beim Laden der Einstellungen</translation>
    </message>
    <message id="export.failed">
        <source>export.failed</source>
        <translation>Export fehlgeschlagen: </translation>
    </message>
    <message id="export.settings.dialog.title">
        <source>export.settings.dialog.title</source>
        <translation>Einstellungen exportieren</translation>
    </message>
    <message id="export.successful">
        <source>export.successful</source>
        <translation>Export erfolgreich</translation>
    </message>
    <message id="fatal.error">
        <source>fatal.error</source>
        <translation>Schwerer Fehler</translation>
    </message>
    <message id="file.already.exists.overwrite">
        <source>file.already.exists.overwrite</source>
        <translation>Die Datei existiert bereits. Möchten Sie sie überschreiben?</translation>
    </message>
    <message id="ignore.error">
        <source>ignore.error</source>
        <translation>Die Zeitgrenze muss leer oder eine ganze Zahl von Millisekunden größer als 0 sein, und die Differenz muss leer oder eine Zahl größer als 0 sein.</translation>
    </message>
    <message id="import.apply.and.exit">
        <source>import.apply.and.exit</source>
        <translation>Importierte Konfiguration übernehmen und das Programm beenden?</translation>
    </message>
    <message id="import.failed">
        <source>import.failed</source>
        <translation>Import fehlgeschlagen
</translation>
    </message>
    <message id="import.settings.dialog.title">
        <source>import.settings.dialog.title</source>
        <translation>Einstellungen importieren</translation>
    </message>
    <message id="info">
        <source>info</source>
        <translation>Information</translation>
    </message>
    <message id="info.delay.keyboard.all">
        <source>info.delay.keyboard.all</source>
        <translation>Die Belegung ALLE tippt ALT-Codes, die mindestens 3 ms zwischen den Tasten brauchen. Die Verzögerung wird auf 3 ms gesetzt.</translation>
    </message>
    <message id="info.title">
        <source>info.title</source>
        <translation>Info</translation>
    </message>
    <message id="invalid.expression">
        <source>invalid.expression</source>
        <translation>Ungültiger regulärer Ausdruck: Er muss übersetzbar sein und eine Erfassungsgruppe in Klammern enthalten, zum Beispiel ([-+]?\d+\.?\d*).</translation>
    </message>
    <message id="invalid.setting">
        <source>invalid.setting</source>
        <translation>Eine Einstellung ist nicht verwendbar: </translation>
    </message>
    <message id="invalid.setting.found.defaults.used">
        <source>invalid.setting.found.defaults.used</source>
        <translation>Eine ungültige gespeicherte Einstellung wurde durch ihren Standardwert ersetzt: </translation>
    </message>
    <message id="keyboard.output.started.type">
        <source>keyboard.output.started.type</source>
        <translation>Tastaturausgabe gestartet, Belegung:</translation>
    </message>
    <message id="library.serdrvwin.not.found.or.not.matching.your.system">
        <source>library.serdrvwin.not.found.or.not.matching.your.system</source>
        <translation>Die Bibliothek des seriellen Treibers fehlt oder passt nicht zu diesem System</translation>
    </message>
    <message id="line.count">
        <source>line.count</source>
        <translation>Empfangene Zeilen: </translation>
    </message>
    <message id="link.open.problem">
        <source>link.open.problem</source>
        <translation>Beim Öffnen dieses Links im Standardbrowser Ihres Systems ist leider ein Problem aufgetreten.</translation>
    </message>
    <message id="link.open.problem.title">
        <source>link.open.problem.title</source>
        <translation>Ein Problem ist aufgetreten</translation>
    </message>
    <message id="minimized.to.system.tray">
        <source>minimized.to.system.tray</source>
        <translation>Tallyra läuft im Infobereich weiter. Doppelklick auf das Symbol öffnet das Fenster.</translation>
    </message>
    <message id="no.default.values.available.for.this.device">
        <source>no.default.values.available.for.this.device</source>
        <translation>Für dieses Instrument sind keine Standardwerte verfügbar.</translation>
    </message>
    <message id="no.rs.232.port.found.on.your.system.program.will.now.exit">
        <source>no.rs.232.port.found.on.your.system.program.will.now.exit</source>
        <translation>Auf diesem Rechner wurde keine serielle Schnittstelle gefunden. Schließen Sie das Gerät an und listen Sie die Anschlüsse neu auf.</translation>
    </message>
    <message id="overwrite">
        <source>overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message id="overwrite.custom.regular.expression">
        <source>overwrite.custom.regular.expression</source>
        <translation>Eigenen regulären Ausdruck überschreiben?</translation>
    </message>
    <message id="please.enter.number.of.decimal.places.for.rounding.or.disable.division">
        <source>please.enter.number.of.decimal.places.for.rounding.or.disable.division</source>
        <translation>Die Division braucht eine Rundung: geben Sie die Nachkommastellen ein oder schalten Sie die Division aus.</translation>
    </message>
    <message id="please.turn.off.caps.lock">
        <source>please.turn.off.caps.lock</source>
        <translation>Bitte schalten Sie die Feststelltaste aus: sie ändert die Groß- und Kleinschreibung getippter Buchstaben.</translation>
    </message>
    <message id="previously.used.port.0.no.longer.available.naborting.auto.start">
        <source>previously.used.port.0.no.longer.available.naborting.auto.start</source>
        <translation>Der zuletzt verwendete Anschluss {0} ist nicht mehr verfügbar.
Der automatische Start wird abgebrochen.</translation>
    </message>
    <message id="program.will.now.exit">
        <source>program.will.now.exit</source>
        <translation>. Das Programm wird jetzt beendet.</translation>
    </message>
    <message id="restart.required">
        <source>restart.required</source>
        <translation>Neustart erforderlich</translation>
    </message>
    <message id="settings.file.filter">
        <source>settings.file.filter</source>
        <translation>Einstellungsdateien (*.xml);;Alle Dateien (*)</translation>
    </message>
    <message id="shortcut.no.display">
        <source>shortcut.no.display</source>
        <translation>Kein globales Tastenkürzel: Die X-Anzeige ist nicht erreichbar. Verwenden Sie die Schaltfläche „Wert anfordern“ auf der Hauptseite.</translation>
    </message>
    <message id="shortcut.ready">
        <source>shortcut.ready</source>
        <translation>Ein Wert kann auch mit {0} aus jedem Programm angefordert werden.</translation>
    </message>
    <message id="shortcut.taken">
        <source>shortcut.taken</source>
        <translation>Kein globales Tastenkürzel: Ein anderes Programm belegt {0}. Verwenden Sie die Schaltfläche „Wert anfordern“ auf der Hauptseite.</translation>
    </message>
    <message id="shortcut.wayland">
        <source>shortcut.wayland</source>
        <translation>Kein globales Tastenkürzel: Ein Wayland-Desktop lässt Programme keine Taste für sich belegen. Verwenden Sie die Schaltfläche „Wert anfordern“ auf der Hauptseite.</translation>
    </message>
    <message id="sound.output.error">
        <source>sound.output.error</source>
        <translation>Fehler der Tonausgabe</translation>
    </message>
    <message id="switch.to.target.application">
        <source>switch.to.target.application</source>
        <translation>Liest. Wechseln Sie in die Anwendung, die die Werte erhalten soll.</translation>
    </message>
    <message id="terminator.must.be.between.0.and.255">
        <source>terminator.must.be.between.0.and.255</source>
        <translation>Das Zeilenende-Byte muss eine Zahl zwischen 0 und 255 sein.</translation>
    </message>
    <message id="update.available">
        <source>update.available</source>
        <translation>&lt;html&gt;Eine neuere Version ist verfügbar: &lt;a href="{0}"&gt;Download-Seite&lt;/a&gt;&lt;/html&gt;</translation>
    </message>
    <message id="update.check.failed">
        <source>update.check.failed</source>
        <translation>Suche nach Aktualisierungen fehlgeschlagen: </translation>
    </message>
    <message id="warning">
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
</context>
</TS>
