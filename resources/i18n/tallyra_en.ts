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
    <message id="autostart.change.failed">
        <source>autostart.change.failed</source>
        <translation>The autostart entry could not be changed: </translation>
    </message>
    <message id="checking.for.update">
        <source>checking.for.update</source>
        <translation>Checking for updates ...</translation>
    </message>
    <message id="error">
        <source>error</source>
        <translation>Error</translation>
    </message>
    <message id="link.open.problem">
        <source>link.open.problem</source>
        <translation>Sorry, a problem occurred while trying to open this link in your system's standard browser.</translation>
    </message>
    <message id="link.open.problem.title">
        <source>link.open.problem.title</source>
        <translation>A problem occured</translation>
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
