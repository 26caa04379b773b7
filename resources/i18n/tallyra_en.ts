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
    <message id="WeightToKeyFrame2.statusJLabel.text">
        <source>WeightToKeyFrame2.statusJLabel.text</source>
        <translation>Ready. Press Start to read from the instrument.</translation>
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
    <message id="error">
        <source>error</source>
        <translation>Error</translation>
    </message>
    <message id="error.decimal.places">
        <source>error.decimal.places</source>
        <translation>Decimal places must be empty or a whole number from 0 to 7.</translation>
    </message>
    <message id="error.edit.everyXValues">
        <source>error.edit.everyXValues</source>
        <translation>"Every X values" must be empty or a whole number from 2 to 99.</translation>
    </message>
    <message id="error.edit.numCharacters">
        <source>error.edit.numCharacters</source>
        <translation>The number of characters must be empty or a whole number from 1 to 99.</translation>
    </message>
    <message id="error.edit.removeCharacters">
        <source>error.edit.removeCharacters</source>
        <translation>Characters to remove must be Latin-1 characters (character codes 0 to 255).</translation>
    </message>
    <message id="error.intercharacter.delay">
        <source>error.intercharacter.delay</source>
        <translation>The delay between keystrokes must be empty or a whole number of milliseconds from 0 to 1000.</translation>
    </message>
    <message id="error.math.operand">
        <source>error.math.operand</source>
        <translation>The math operand must be empty or a decimal number other than 0, for example 2.5 or 2,5.</translation>
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
    <message id="invalid.expression">
        <source>invalid.expression</source>
        <translation>Invalid regular expression: it must compile and contain a capture group in parentheses, for example ([-+]?\d+\.?\d*).</translation>
    </message>
    <message id="link.open.problem">
        <source>link.open.problem</source>
        <translation>Sorry, a problem occurred while trying to open this link in your system's standard browser.</translation>
    </message>
    <message id="link.open.problem.title">
        <source>link.open.problem.title</source>
        <translation>A problem occured</translation>
    </message>
    <message id="overwrite">
        <source>overwrite</source>
        <translation>Overwrite</translation>
    </message>
    <message id="restart.required">
        <source>restart.required</source>
        <translation>Restart required</translation>
    </message>
    <message id="settings.file.filter">
        <source>settings.file.filter</source>
        <translation>Settings files (*.xml);;All files (*)</translation>
    </message>
    <message id="terminator.must.be.between.0.and.255">
        <source>terminator.must.be.between.0.and.255</source>
        <translation>The input terminator must be a whole number between 0 and 255.</translation>
    </message>
    <message id="update.available">
        <source>update.available</source>
        <translation>&lt;html&gt;A newer version is available: &lt;a href="{0}"&gt;download page&lt;/a&gt;&lt;/html&gt;</translation>
    </message>
    <message id="update.check.failed">
        <source>update.check.failed</source>
        <translation>Update check failed: </translation>
    </message>
</context>
</TS>
