<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name></name>
    <message id="allow.remote.input">
        <source>allow.remote.input</source>
        <translation>The desktop asks whether Tallyra may type: allow remote input (keyboard) in its dialog. Values wait until you have; the desktop remembers the answer.</translation>
    </message>
    <message id="and.error.dataset.not.ready">
        <source>and.error.dataset.not.ready</source>
        <translation>The A&amp;D instrument reports CTS but not DSR (data set not ready). Check that it is switched on and the cable is complete.</translation>
    </message>
    <message id="and.error.not.connected">
        <source>and.error.not.connected</source>
        <translation>No A&amp;D instrument answers on this port (neither DSR nor CTS). Check the cable and that the instrument is switched on.</translation>
    </message>
    <message id="and.error.unusual">
        <source>and.error.unusual</source>
        <translation>The A&amp;D instrument reports DSR but not CTS. Check the cable and the instrument's interface settings.</translation>
    </message>
    <message id="auto.port.detection.started">
        <source>auto.port.detection.started</source>
        <translation>Automatic port detection started.</translation>
    </message>
    <message id="best.port">
        <source>best.port</source>
        <translation>Instrument found on port</translation>
    </message>
    <message id="cannot_type">
        <source>cannot_type</source>
        <translation>Cannot type the character </translation>
    </message>
    <message id="confidence">
        <source>confidence</source>
        <translation>Confidence:</translation>
    </message>
    <message id="could.not.auto.detect.port">
        <source>could.not.auto.detect.port</source>
        <translation>Could not detect the instrument's port automatically.</translation>
    </message>
    <message id="execution.exception">
        <source>execution.exception</source>
        <translation>Reading stopped because of an error: </translation>
    </message>
    <message id="framing.error">
        <source>framing.error</source>
        <translation>Framing error: check bit rate, data bits and stop bits of the port and the instrument.</translation>
    </message>
    <message id="instrument.disconnected">
        <source>instrument.disconnected</source>
        <translation>The instrument was disconnected</translation>
    </message>
    <message id="instrument.disconnected.waiting">
        <source>instrument.disconnected.waiting</source>
        <translation>Instrument disconnected from {0}; waiting for it to return</translation>
    </message>
    <message id="instrument.reconnected">
        <source>instrument.reconnected</source>
        <translation>Instrument reconnected</translation>
    </message>
    <message id="interrupted">
        <source>interrupted</source>
        <translation>Interrupted.</translation>
    </message>
    <message id="journal.cannot.write">
        <source>journal.cannot.write</source>
        <translation>The journal cannot be written ({0}: {1}); reading goes on and the readings wait in memory</translation>
    </message>
    <message id="journal.dropped">
        <source>journal.dropped</source>
        <translation>{0} readings could not be kept for the journal: too many were waiting</translation>
    </message>
    <message id="journal.started">
        <source>journal.started</source>
        <translation>Readings are kept in the journal in {0}</translation>
    </message>
    <message id="journal.unwritten">
        <source>journal.unwritten</source>
        <translation>{0} readings could not be written to the journal in {1}</translation>
    </message>
    <message id="journal.written.again">
        <source>journal.written.again</source>
        <translation>The journal is written again ({0})</translation>
    </message>
    <message id="line.too.long">
        <source>line.too.long</source>
        <translation>A line grew beyond {0} bytes without the input terminator; it is discarded up to and including the next terminator. Check the input terminator setting.</translation>
    </message>
    <message id="mqtt.connected">
        <source>mqtt.connected</source>
        <translation>Connected to the MQTT broker {0}</translation>
    </message>
    <message id="mqtt.dropped">
        <source>mqtt.dropped</source>
        <translation>{0} readings for the MQTT broker {1} were dropped: too many were waiting</translation>
    </message>
    <message id="mqtt.no.host">
        <source>mqtt.no.host</source>
        <translation>MQTT is switched on but no broker host is set; readings are not published</translation>
    </message>
    <message id="mqtt.not.available">
        <source>mqtt.not.available</source>
        <translation>MQTT is not available in this build of the program; readings are not published</translation>
    </message>
    <message id="mqtt.status.connected">
        <source>mqtt.status.connected</source>
        <translation>MQTT: connected to {0}</translation>
    </message>
    <message id="mqtt.status.connecting">
        <source>mqtt.status.connecting</source>
        <translation>MQTT: connecting to {0}…</translation>
    </message>
    <message id="mqtt.status.not.available">
        <source>mqtt.status.not.available</source>
        <translation>MQTT: not available in this build</translation>
    </message>
    <message id="mqtt.status.unreachable">
        <source>mqtt.status.unreachable</source>
        <translation>MQTT: {0} not reachable ({1})</translation>
    </message>
    <message id="mqtt.undelivered">
        <source>mqtt.undelivered</source>
        <translation>{0} readings were not delivered to the MQTT broker {1}</translation>
    </message>
    <message id="mqtt.unreachable">
        <source>mqtt.unreachable</source>
        <translation>The MQTT broker {0} cannot be reached ({1}); readings wait in memory and are sent once it is back</translation>
    </message>
    <message id="no.key.injection.on.wayland">
        <source>no.key.injection.on.wayland</source>
        <translation>Keystrokes cannot reach the programs of this Wayland desktop. Start the program in an X11 session, or allow remote input when the desktop asks (GNOME, KDE Plasma); on sway and the other wlroots desktops the virtual keyboard is used. Details: </translation>
    </message>
    <message id="null.port.error">
        <source>null.port.error</source>
        <translation>No serial port is selected.</translation>
    </message>
    <message id="parity.error">
        <source>parity.error</source>
        <translation>Parity error: check the parity setting of the port and the instrument.</translation>
    </message>
    <message id="port.opened">
        <source>port.opened</source>
        <translation>Port {0} opened: {1} baud, {2} data bits, parity {3}, {4} stop bit(s).</translation>
    </message>
    <message id="remote.input.ended">
        <source>remote.input.ended</source>
        <translation>The desktop ended remote input; values are typed again after the next start: </translation>
    </message>
    <message id="remote.input.refused">
        <source>remote.input.refused</source>
        <translation>The desktop did not allow remote input, so values are not typed: </translation>
    </message>
    <message id="request.failed">
        <source>request.failed</source>
        <translation>The request {0} could not be written to the instrument:</translation>
    </message>
    <message id="stable.only.unknown">
        <source>stable.only.unknown</source>
        <translation>Stable values only: this instrument's lines carry no stability mark, so every value is typed.</translation>
    </message>
    <message id="stopped">
        <source>stopped</source>
        <translation>Stopped.</translation>
    </message>
    <message id="testing.port.0">
        <source>testing.port.0</source>
        <translation>Testing port {0} ...</translation>
    </message>
    <message id="unsent.data">
        <source>unsent.data</source>
        <translation>Data received without line terminator (not processed):</translation>
    </message>
    <message id="warning">
        <source>warning</source>
        <translation>Warning</translation>
    </message>
</context>
</TS>
