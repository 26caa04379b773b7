<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="aandd.em.defaultmessage">
        <source>aandd.em.defaultmessage</source>
        <translation>Stellen Sie die A&amp;D-EM-Waage auf 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit mit CR LF als Zeilenende ein und wählen Sie in den Funktionseinstellungen den Stream- oder Drucktasten-Ausgabemodus.</translation>
    </message>
    <message id="adam_azextra.defaultMessage">
        <source>adam_azextra.defaultMessage</source>
        <translation>Stellen Sie die Adam AZextra auf 4800 Baud, 8 Datenbits, keine Parität, 1 Stoppbit ein und drucken Sie einen Beleg mit der Drucktaste. Das Nettogewicht in kg wird getippt.</translation>
    </message>
    <message id="adam_azextra_weight">
        <source>adam_azextra_weight</source>
        <translation>Adam AZextra (Gewicht)</translation>
    </message>
    <message id="adam_cbk.defaultMessage">
        <source>adam_cbk.defaultMessage</source>
        <translation>Stellen Sie die Adam-CBK/GBK/GFK-Waage in den RS-232-Einstellungen auf 4800 Baud (8 Datenbits, keine Parität, 1 Stoppbit) und senden Sie das Gewicht mit der Drucktaste.</translation>
    </message>
    <message id="adam_cpwplus.defaultMessage">
        <source>adam_cpwplus.defaultMessage</source>
        <translation>Stellen Sie die Adam CPWplus auf 9600 Baud (8 Datenbits, keine Parität, 1 Stoppbit) und senden Sie das Gewicht mit der Drucktaste; Zeilen enden mit einem Wagenrücklauf (CR).</translation>
    </message>
    <message id="adam_gbc_gfc_pcs">
        <source>adam_gbc_gfc_pcs</source>
        <translation>Adam GBC/GFC (Stückzahl)</translation>
    </message>
    <message id="adam_gbc_gfc_weight">
        <source>adam_gbc_gfc_weight</source>
        <translation>Adam GBC/GFC (Gewicht)</translation>
    </message>
    <message id="adam_hcb.defaultMessage">
        <source>adam_hcb.defaultMessage</source>
        <translation>Stellen Sie die Adam Highland auf 9600 Baud (8 Datenbits, keine Parität, 1 Stoppbit) mit Druckmodus auf der Drucktaste ein; Zeilen enden mit CR LF.</translation>
    </message>
    <message id="auto">
        <source>auto</source>
        <translation>Automatisch</translation>
    </message>
    <message id="barcode_alphanumeric">
        <source>barcode_alphanumeric</source>
        <translation>Barcode (Ziffern und Großbuchstaben)</translation>
    </message>
    <message id="barcode_alphanumeric.defaultMessage">
        <source>barcode_alphanumeric.defaultMessage</source>
        <translation>Stellen Sie die serielle Schnittstelle des Barcodelesers auf 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit ein, mit einem Wagenrücklauf (CR) als Suffix nach jedem Code. Ziffern und Großbuchstaben des Codes werden getippt.</translation>
    </message>
    <message id="barcode_alphanumeric_complete">
        <source>barcode_alphanumeric_complete</source>
        <translation>Barcode (alle druckbaren Zeichen)</translation>
    </message>
    <message id="barcode_alphanumeric_complete.defaultMessage">
        <source>barcode_alphanumeric_complete.defaultMessage</source>
        <translation>Stellen Sie die serielle Schnittstelle des Barcodelesers auf 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit ein, mit einem Wagenrücklauf (CR) als Suffix nach jedem Code. Alle druckbaren Zeichen des Codes werden getippt; wählen Sie den Tastaturtyp, der zu Ihrem Tastaturlayout passt.</translation>
    </message>
    <message id="barcode_numeric">
        <source>barcode_numeric</source>
        <translation>Barcode (numerisch)</translation>
    </message>
    <message id="barcode_numeric.defaultMessage">
        <source>barcode_numeric.defaultMessage</source>
        <translation>Stellen Sie die serielle Schnittstelle des Barcodelesers auf 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit ein, mit einem Wagenrücklauf (CR) als Suffix nach jedem Code. Nur die Ziffern des Codes werden getippt.</translation>
    </message>
    <message id="comma">
        <source>comma</source>
        <translation>Komma (12,5)</translation>
    </message>
    <message id="delete">
        <source>delete</source>
        <translation>Entf</translation>
    </message>
    <message id="divide">
        <source>divide</source>
        <translation>Dividieren</translation>
    </message>
    <message id="dot">
        <source>dot</source>
        <translation>Punkt (12.5)</translation>
    </message>
    <message id="down">
        <source>down</source>
        <translation>Pfeil unten</translation>
    </message>
    <message id="edit.first">
        <source>edit.first</source>
        <translation>Erste Zeichen</translation>
    </message>
    <message id="edit.keep">
        <source>edit.keep</source>
        <translation>Behalten</translation>
    </message>
    <message id="edit.last">
        <source>edit.last</source>
        <translation>Letzte Zeichen</translation>
    </message>
    <message id="edit.remove">
        <source>edit.remove</source>
        <translation>Entfernen</translation>
    </message>
    <message id="enter">
        <source>enter</source>
        <translation>Eingabe</translation>
    </message>
    <message id="generic">
        <source>generic</source>
        <translation>Allgemein (Zahlenwert)</translation>
    </message>
    <message id="generic.defaultMessage">
        <source>generic.defaultMessage</source>
        <translation>Stellen Sie die Schnittstelle des Geräts auf 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit ein und lassen Sie jede Zeile mit einem Wagenrücklauf (CR) enden. Die erste Zahl jeder Zeile wird getippt.</translation>
    </message>
    <message id="import.invalid.setting">
        <source>import.invalid.setting</source>
        <translation>Die Einstellung {0} kann nicht den Wert „{1}“ haben; es wurde nichts importiert.</translation>
    </message>
    <message id="import.unknown.settings">
        <source>import.unknown.settings</source>
        <translation>Diese Einträge sind keine Einstellungen von Tallyra und wurden übergangen: {0}</translation>
    </message>
    <message id="kern_rpb.defaultMessage">
        <source>kern_rpb.defaultMessage</source>
        <translation>Stellen Sie die Kern RPB auf 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit ein und drucken Sie mit der Drucktaste. Nur Zeilen, die mit N: beginnen (das Nettogewicht), werden getippt.</translation>
    </message>
    <message id="kern_rpb_weight">
        <source>kern_rpb_weight</source>
        <translation>Kern RPB (Gewicht)</translation>
    </message>
    <message id="key.none">
        <source>key.none</source>
        <translation>Keine</translation>
    </message>
    <message id="keyboardType.all">
        <source>keyboardType.all</source>
        <translation>Jedes Layout (ALT-Codes)</translation>
    </message>
    <message id="keyboardType.azerty">
        <source>keyboardType.azerty</source>
        <translation>AZERTY (Französisch)</translation>
    </message>
    <message id="keyboardType.default">
        <source>keyboardType.default</source>
        <translation>QWERTY (US, UK)</translation>
    </message>
    <message id="keyboardType.german">
        <source>keyboardType.german</source>
        <translation>QWERTZ (Deutsch)</translation>
    </message>
    <message id="keyboardType.us_international">
        <source>keyboardType.us_international</source>
        <translation>US International</translation>
    </message>
    <message id="manual">
        <source>manual</source>
        <translation>Manuell</translation>
    </message>
    <message id="math.none">
        <source>math.none</source>
        <translation>Keine</translation>
    </message>
    <message id="multiply">
        <source>multiply</source>
        <translation>Multiplizieren</translation>
    </message>
    <message id="myweigh_hd.defaultMessage">
        <source>myweigh_hd.defaultMessage</source>
        <translation>Stellen Sie die MyWeigh HD auf 9600 Baud, 8 Datenbits, Parität SPACE, 1 Stoppbit ein; Zeilen enden mit einem Wagenrücklauf (CR). Senden Sie das Gewicht mit der Drucktaste.</translation>
    </message>
    <message id="request.interval">
        <source>request.interval</source>
        <translation>In regelmäßigen Abständen</translation>
    </message>
    <message id="request.none">
        <source>request.none</source>
        <translation>Nie</translation>
    </message>
    <message id="request.on_demand">
        <source>request.on_demand</source>
        <translation>Auf Anforderung (Schaltfläche oder Tastenkürzel)</translation>
    </message>
    <message id="request.on_start">
        <source>request.on_start</source>
        <translation>Einmal nach dem Öffnen der Schnittstelle</translation>
    </message>
    <message id="right">
        <source>right</source>
        <translation>Pfeil rechts</translation>
    </message>
    <message id="sartorius.defaultMessage">
        <source>sartorius.defaultMessage</source>
        <translation>Stellen Sie die Sartorius-Waage auf 1200 Baud, 7 Datenbits, ungerade Parität, 1 Stoppbit ein und wählen Sie in den Datenausgabe-Einstellungen Drucken auf Anforderung (Drucktaste); Zeilen enden mit CR LF.</translation>
    </message>
    <message id="settings.file.too.large">
        <source>settings.file.too.large</source>
        <translation>Die Einstellungen bräuchten {0} Bytes in der Einstellungsdatei {1}, mehr als die {2} Bytes, die sie fassen kann; es wurde nichts geschrieben.</translation>
    </message>
    <message id="settings.store.damaged.kept">
        <source>settings.store.damaged.kept</source>
        <translation>Der Einstellungsspeicher {0} ist beschädigt ({1}). Er wurde als {2} aufbewahrt, und das Programm beginnt mit neuen Einstellungen.</translation>
    </message>
    <message id="sound.none">
        <source>sound.none</source>
        <translation>Kein Ton</translation>
    </message>
    <message id="status.error">
        <source>status.error</source>
        <translation>Gerätefehler</translation>
    </message>
    <message id="status.not_a_value">
        <source>status.not_a_value</source>
        <translation>Kein Messwert</translation>
    </message>
    <message id="status.overload">
        <source>status.overload</source>
        <translation>Überlast</translation>
    </message>
    <message id="status.stable">
        <source>status.stable</source>
        <translation>Stabil</translation>
    </message>
    <message id="status.underload">
        <source>status.underload</source>
        <translation>Unterlast</translation>
    </message>
    <message id="status.unstable">
        <source>status.unstable</source>
        <translation>Nicht stabil</translation>
    </message>
    <message id="tab">
        <source>tab</source>
        <translation>Tab</translation>
    </message>
</context>
</TS>
