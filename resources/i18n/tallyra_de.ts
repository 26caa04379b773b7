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
    <message id="autostart.change.failed">
        <source>autostart.change.failed</source>
        <translation>Der Autostart-Eintrag konnte nicht geändert werden: </translation>
    </message>
    <message id="checking.for.update">
        <source>checking.for.update</source>
        <translation>Suche nach Aktualisierungen ...</translation>
    </message>
    <message id="error">
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message id="link.open.problem">
        <source>link.open.problem</source>
        <translation>Beim Öffnen dieses Links im Standardbrowser Ihres Systems ist leider ein Problem aufgetreten.</translation>
    </message>
    <message id="link.open.problem.title">
        <source>link.open.problem.title</source>
        <translation>Ein Problem ist aufgetreten</translation>
    </message>
    <message id="update.available">
        <source>update.available</source>
        <translation>&lt;html&gt;Eine neuere Version ist verfügbar: &lt;a href="{0}"&gt;Download-Seite&lt;/a&gt;&lt;/html&gt;</translation>
    </message>
    <message id="update.check.failed">
        <source>update.check.failed</source>
        <translation>Suche nach Aktualisierungen fehlgeschlagen: </translation>
    </message>
</context>
</TS>
