<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="allow.remote.input">
        <source>allow.remote.input</source>
        <translation>Der Desktop fragt, ob Tallyra tippen darf: Erlauben Sie die Fernsteuerung (Tastatur) in seinem Dialog. Die Werte warten so lange; der Desktop merkt sich die Antwort.</translation>
    </message>
    <message id="and.error.dataset.not.ready">
        <source>and.error.dataset.not.ready</source>
        <translation>Das A&amp;D-Gerät meldet CTS, aber nicht DSR (Gerät nicht bereit). Prüfen Sie, ob es eingeschaltet und das Kabel vollständig ist.</translation>
    </message>
    <message id="and.error.not.connected">
        <source>and.error.not.connected</source>
        <translation>An dieser Schnittstelle antwortet kein A&amp;D-Gerät (weder DSR noch CTS). Prüfen Sie das Kabel und ob das Gerät eingeschaltet ist.</translation>
    </message>
    <message id="and.error.unusual">
        <source>and.error.unusual</source>
        <translation>Das A&amp;D-Gerät meldet DSR, aber nicht CTS. Prüfen Sie das Kabel und die Schnittstelleneinstellungen des Geräts.</translation>
    </message>
    <message id="auto.port.detection.started">
        <source>auto.port.detection.started</source>
        <translation>Automatische Schnittstellenerkennung gestartet.</translation>
    </message>
    <message id="best.port">
        <source>best.port</source>
        <translation>Gerät gefunden an Schnittstelle</translation>
    </message>
    <message id="cannot_type">
        <source>cannot_type</source>
        <translation>Dieses Zeichen kann nicht getippt werden: </translation>
    </message>
    <message id="confidence">
        <source>confidence</source>
        <translation>Zuverlässigkeit:</translation>
    </message>
    <message id="could.not.auto.detect.port">
        <source>could.not.auto.detect.port</source>
        <translation>Die Schnittstelle des Geräts konnte nicht automatisch erkannt werden.</translation>
    </message>
    <message id="execution.exception">
        <source>execution.exception</source>
        <translation>Das Lesen wurde wegen eines Fehlers beendet: </translation>
    </message>
    <message id="framing.error">
        <source>framing.error</source>
        <translation>Rahmenfehler: Prüfen Sie Baudrate, Datenbits und Stoppbits von Schnittstelle und Gerät.</translation>
    </message>
    <message id="instrument.disconnected">
        <source>instrument.disconnected</source>
        <translation>Das Gerät wurde getrennt</translation>
    </message>
    <message id="instrument.disconnected.waiting">
        <source>instrument.disconnected.waiting</source>
        <translation>Gerät an {0} getrennt; warte auf seine Rückkehr</translation>
    </message>
    <message id="instrument.reconnected">
        <source>instrument.reconnected</source>
        <translation>Gerät wieder verbunden</translation>
    </message>
    <message id="interrupted">
        <source>interrupted</source>
        <translation>Unterbrochen.</translation>
    </message>
    <message id="journal.cannot.write">
        <source>journal.cannot.write</source>
        <translation>Das Journal kann nicht geschrieben werden ({0}: {1}); das Lesen geht weiter, die Messwerte warten im Speicher</translation>
    </message>
    <message id="journal.dropped">
        <source>journal.dropped</source>
        <translation>{0} Messwerte konnten nicht für das Journal aufbewahrt werden: zu viele warteten</translation>
    </message>
    <message id="journal.started">
        <source>journal.started</source>
        <translation>Die Messwerte werden im Journal in {0} festgehalten</translation>
    </message>
    <message id="journal.unwritten">
        <source>journal.unwritten</source>
        <translation>{0} Messwerte konnten nicht in das Journal in {1} geschrieben werden</translation>
    </message>
    <message id="journal.written.again">
        <source>journal.written.again</source>
        <translation>Das Journal wird wieder geschrieben ({0})</translation>
    </message>
    <message id="line.too.long">
        <source>line.too.long</source>
        <translation>Eine Zeile wurde ohne Zeilenende länger als {0} Bytes; sie wird bis einschließlich des nächsten Zeilenendes verworfen. Prüfen Sie die Einstellung des Zeilenendes.</translation>
    </message>
    <message id="mqtt.connected">
        <source>mqtt.connected</source>
        <translation>Mit dem MQTT-Broker {0} verbunden</translation>
    </message>
    <message id="mqtt.dropped">
        <source>mqtt.dropped</source>
        <translation>{0} Messwerte für den MQTT-Broker {1} wurden verworfen: zu viele warteten</translation>
    </message>
    <message id="mqtt.no.host">
        <source>mqtt.no.host</source>
        <translation>MQTT ist eingeschaltet, aber kein Broker-Host angegeben; die Messwerte werden nicht veröffentlicht</translation>
    </message>
    <message id="mqtt.not.available">
        <source>mqtt.not.available</source>
        <translation>MQTT ist in dieser Ausgabe des Programms nicht verfügbar; die Messwerte werden nicht veröffentlicht</translation>
    </message>
    <message id="mqtt.status.connected">
        <source>mqtt.status.connected</source>
        <translation>MQTT: verbunden mit {0}</translation>
    </message>
    <message id="mqtt.status.connecting">
        <source>mqtt.status.connecting</source>
        <translation>MQTT: Verbindung zu {0} wird hergestellt…</translation>
    </message>
    <message id="mqtt.status.not.available">
        <source>mqtt.status.not.available</source>
        <translation>MQTT: in dieser Ausgabe nicht verfügbar</translation>
    </message>
    <message id="mqtt.status.unreachable">
        <source>mqtt.status.unreachable</source>
        <translation>MQTT: {0} nicht erreichbar ({1})</translation>
    </message>
    <message id="mqtt.undelivered">
        <source>mqtt.undelivered</source>
        <translation>{0} Messwerte wurden dem MQTT-Broker {1} nicht zugestellt</translation>
    </message>
    <message id="mqtt.unreachable">
        <source>mqtt.unreachable</source>
        <translation>Der MQTT-Broker {0} ist nicht erreichbar ({1}); die Messwerte warten im Speicher und werden gesendet, sobald er wieder erreichbar ist</translation>
    </message>
    <message id="no.key.injection.on.wayland">
        <source>no.key.injection.on.wayland</source>
        <translation>Tastenanschläge erreichen die Programme dieses Wayland-Desktops nicht. Starten Sie das Programm in einer X11-Sitzung oder erlauben Sie die Fernsteuerung, wenn der Desktop danach fragt (GNOME, KDE Plasma); unter sway und den anderen wlroots-Desktops dient die virtuelle Tastatur. Einzelheiten: </translation>
    </message>
    <message id="null.port.error">
        <source>null.port.error</source>
        <translation>Es ist keine serielle Schnittstelle ausgewählt.</translation>
    </message>
    <message id="parity.error">
        <source>parity.error</source>
        <translation>Paritätsfehler: Prüfen Sie die Paritätseinstellung von Schnittstelle und Gerät.</translation>
    </message>
    <message id="port.opened">
        <source>port.opened</source>
        <translation>Schnittstelle {0} geöffnet: {1} Baud, {2} Datenbits, Parität {3}, {4} Stoppbit(s).</translation>
    </message>
    <message id="remote.input.ended">
        <source>remote.input.ended</source>
        <translation>Der Desktop hat die Fernsteuerung beendet; Werte werden erst nach dem nächsten Start wieder getippt: </translation>
    </message>
    <message id="remote.input.refused">
        <source>remote.input.refused</source>
        <translation>Der Desktop hat die Fernsteuerung nicht erlaubt, daher werden keine Werte getippt: </translation>
    </message>
    <message id="request.failed">
        <source>request.failed</source>
        <translation>Die Anforderung {0} konnte nicht an das Gerät gesendet werden:</translation>
    </message>
    <message id="stable.only.unknown">
        <source>stable.only.unknown</source>
        <translation>Nur stabile Werte: Die Zeilen dieses Geräts tragen keine Stabilitätsangabe, daher wird jeder Wert getippt.</translation>
    </message>
    <message id="stopped">
        <source>stopped</source>
        <translation>Angehalten.</translation>
    </message>
    <message id="testing.port.0">
        <source>testing.port.0</source>
        <translation>Teste Schnittstelle {0} ...</translation>
    </message>
    <message id="unsent.data">
        <source>unsent.data</source>
        <translation>Ohne Zeilenende empfangene Daten (nicht verarbeitet):</translation>
    </message>
    <message id="warning">
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
</context>
</TS>
