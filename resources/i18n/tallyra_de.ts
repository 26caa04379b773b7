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
    <message id="WeightToKeyFrame2.statusJLabel.text">
        <source>WeightToKeyFrame2.statusJLabel.text</source>
        <translation>Bereit. Zum Einlesen vom Gerät auf Start drücken.</translation>
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
    <message id="error">
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message id="error.decimal.places">
        <source>error.decimal.places</source>
        <translation>Die Nachkommastellen müssen leer oder eine ganze Zahl von 0 bis 7 sein.</translation>
    </message>
    <message id="error.edit.everyXValues">
        <source>error.edit.everyXValues</source>
        <translation>„Alle X Werte“ muss leer oder eine ganze Zahl von 2 bis 99 sein.</translation>
    </message>
    <message id="error.edit.numCharacters">
        <source>error.edit.numCharacters</source>
        <translation>Die Anzahl der Zeichen muss leer oder eine ganze Zahl von 1 bis 99 sein.</translation>
    </message>
    <message id="error.edit.removeCharacters">
        <source>error.edit.removeCharacters</source>
        <translation>Zu entfernende Zeichen müssen Latin-1-Zeichen sein (Zeichencodes 0 bis 255).</translation>
    </message>
    <message id="error.intercharacter.delay">
        <source>error.intercharacter.delay</source>
        <translation>Die Verzögerung zwischen den Tastenanschlägen muss leer oder eine ganze Zahl von 0 bis 1000 Millisekunden sein.</translation>
    </message>
    <message id="error.math.operand">
        <source>error.math.operand</source>
        <translation>Der Rechenoperand muss leer oder eine Dezimalzahl ungleich 0 sein, zum Beispiel 2.5 oder 2,5.</translation>
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
    <message id="invalid.expression">
        <source>invalid.expression</source>
        <translation>Ungültiger regulärer Ausdruck: Er muss übersetzbar sein und eine Erfassungsgruppe in Klammern enthalten, zum Beispiel ([-+]?\d+\.?\d*).</translation>
    </message>
    <message id="link.open.problem">
        <source>link.open.problem</source>
        <translation>Beim Öffnen dieses Links im Standardbrowser Ihres Systems ist leider ein Problem aufgetreten.</translation>
    </message>
    <message id="link.open.problem.title">
        <source>link.open.problem.title</source>
        <translation>Ein Problem ist aufgetreten</translation>
    </message>
    <message id="overwrite">
        <source>overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message id="restart.required">
        <source>restart.required</source>
        <translation>Neustart erforderlich</translation>
    </message>
    <message id="settings.file.filter">
        <source>settings.file.filter</source>
        <translation>Einstellungsdateien (*.xml);;Alle Dateien (*)</translation>
    </message>
    <message id="terminator.must.be.between.0.and.255">
        <source>terminator.must.be.between.0.and.255</source>
        <translation>Das Eingabe-Endezeichen muss eine ganze Zahl zwischen 0 und 255 sein.</translation>
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
