<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name></name>
    <message id="aandd.em.defaultmessage">
        <source>aandd.em.defaultmessage</source>
        <translation>Set the A&amp;D EM balance to 9600 baud, 8 data bits, no parity, 1 stop bit, with CR LF as terminator, and select the stream or print-key output mode in its function settings.</translation>
    </message>
    <message id="adam_azextra.defaultMessage">
        <source>adam_azextra.defaultMessage</source>
        <translation>Set the Adam AZextra to 4800 baud, 8 data bits, no parity, 1 stop bit, and print a ticket with the print key. The net weight in kg is typed.</translation>
    </message>
    <message id="adam_azextra_weight">
        <source>adam_azextra_weight</source>
        <translation>Adam AZextra (weight)</translation>
    </message>
    <message id="adam_cbk.defaultMessage">
        <source>adam_cbk.defaultMessage</source>
        <translation>Set the Adam CBK/GBK/GFK scale to 4800 baud in its RS-232 settings (8 data bits, no parity, 1 stop bit) and send the weight with the print key.</translation>
    </message>
    <message id="adam_cpwplus.defaultMessage">
        <source>adam_cpwplus.defaultMessage</source>
        <translation>Set the Adam CPWplus to 9600 baud (8 data bits, no parity, 1 stop bit) and send the weight with the print key; lines end with a carriage return (CR).</translation>
    </message>
    <message id="adam_gbc_gfc_pcs">
        <source>adam_gbc_gfc_pcs</source>
        <translation>Adam GBC/GFC (pieces)</translation>
    </message>
    <message id="adam_gbc_gfc_weight">
        <source>adam_gbc_gfc_weight</source>
        <translation>Adam GBC/GFC (weight)</translation>
    </message>
    <message id="adam_hcb.defaultMessage">
        <source>adam_hcb.defaultMessage</source>
        <translation>Set the Adam Highland to 9600 baud (8 data bits, no parity, 1 stop bit) with print mode on the print key; lines end with CR LF.</translation>
    </message>
    <message id="auto">
        <source>auto</source>
        <translation>Automatic</translation>
    </message>
    <message id="barcode_alphanumeric">
        <source>barcode_alphanumeric</source>
        <translation>Barcode (digits and capitals)</translation>
    </message>
    <message id="barcode_alphanumeric.defaultMessage">
        <source>barcode_alphanumeric.defaultMessage</source>
        <translation>Set the barcode reader's serial interface to 9600 baud, 8 data bits, no parity, 1 stop bit, with a carriage return (CR) as suffix after each code. Digits and capital letters of the code are typed.</translation>
    </message>
    <message id="barcode_alphanumeric_complete">
        <source>barcode_alphanumeric_complete</source>
        <translation>Barcode (all printable characters)</translation>
    </message>
    <message id="barcode_alphanumeric_complete.defaultMessage">
        <source>barcode_alphanumeric_complete.defaultMessage</source>
        <translation>Set the barcode reader's serial interface to 9600 baud, 8 data bits, no parity, 1 stop bit, with a carriage return (CR) as suffix after each code. Every printable character of the code is typed; choose the keyboard type that matches your keyboard layout.</translation>
    </message>
    <message id="barcode_numeric">
        <source>barcode_numeric</source>
        <translation>Barcode (numeric)</translation>
    </message>
    <message id="barcode_numeric.defaultMessage">
        <source>barcode_numeric.defaultMessage</source>
        <translation>Set the barcode reader's serial interface to 9600 baud, 8 data bits, no parity, 1 stop bit, with a carriage return (CR) as suffix after each code. Only the digits of the code are typed.</translation>
    </message>
    <message id="comma">
        <source>comma</source>
        <translation>Comma (12,5)</translation>
    </message>
    <message id="delete">
        <source>delete</source>
        <translation>Delete</translation>
    </message>
    <message id="divide">
        <source>divide</source>
        <translation>Divide</translation>
    </message>
    <message id="dot">
        <source>dot</source>
        <translation>Dot (12.5)</translation>
    </message>
    <message id="down">
        <source>down</source>
        <translation>Down arrow</translation>
    </message>
    <message id="edit.first">
        <source>edit.first</source>
        <translation>First characters</translation>
    </message>
    <message id="edit.keep">
        <source>edit.keep</source>
        <translation>Keep</translation>
    </message>
    <message id="edit.last">
        <source>edit.last</source>
        <translation>Last characters</translation>
    </message>
    <message id="edit.remove">
        <source>edit.remove</source>
        <translation>Remove</translation>
    </message>
    <message id="enter">
        <source>enter</source>
        <translation>Enter</translation>
    </message>
    <message id="generic">
        <source>generic</source>
        <translation>Generic (numeric value)</translation>
    </message>
    <message id="generic.defaultMessage">
        <source>generic.defaultMessage</source>
        <translation>Set the instrument's interface to 9600 baud, 8 data bits, no parity, 1 stop bit, and let it end every line with a carriage return (CR). The first number in each line is typed.</translation>
    </message>
    <message id="import.invalid.setting">
        <source>import.invalid.setting</source>
        <translation>The setting {0} cannot have the value "{1}"; nothing was imported.</translation>
    </message>
    <message id="import.unknown.settings">
        <source>import.unknown.settings</source>
        <translation>These entries are no settings of Tallyra and were ignored: {0}</translation>
    </message>
    <message id="kern_rpb.defaultMessage">
        <source>kern_rpb.defaultMessage</source>
        <translation>Set the Kern RPB to 9600 baud, 8 data bits, no parity, 1 stop bit, and print with the print key. Only lines starting with N: (the net weight) are typed.</translation>
    </message>
    <message id="kern_rpb_weight">
        <source>kern_rpb_weight</source>
        <translation>Kern RPB (weight)</translation>
    </message>
    <message id="key.none">
        <source>key.none</source>
        <translation>None</translation>
    </message>
    <message id="keyboardType.all">
        <source>keyboardType.all</source>
        <translation>Any layout (ALT codes)</translation>
    </message>
    <message id="keyboardType.azerty">
        <source>keyboardType.azerty</source>
        <translation>AZERTY (French)</translation>
    </message>
    <message id="keyboardType.default">
        <source>keyboardType.default</source>
        <translation>QWERTY (US, UK)</translation>
    </message>
    <message id="keyboardType.german">
        <source>keyboardType.german</source>
        <translation>QWERTZ (German)</translation>
    </message>
    <message id="keyboardType.us_international">
        <source>keyboardType.us_international</source>
        <translation>US International</translation>
    </message>
    <message id="manual">
        <source>manual</source>
        <translation>Manual</translation>
    </message>
    <message id="math.none">
        <source>math.none</source>
        <translation>None</translation>
    </message>
    <message id="multiply">
        <source>multiply</source>
        <translation>Multiply</translation>
    </message>
    <message id="myweigh_hd.defaultMessage">
        <source>myweigh_hd.defaultMessage</source>
        <translation>Set the MyWeigh HD to 9600 baud, 8 data bits, parity SPACE, 1 stop bit; lines end with a carriage return (CR). Send the weight with the print key.</translation>
    </message>
    <message id="request.interval">
        <source>request.interval</source>
        <translation>At regular intervals</translation>
    </message>
    <message id="request.none">
        <source>request.none</source>
        <translation>Never</translation>
    </message>
    <message id="request.on_demand">
        <source>request.on_demand</source>
        <translation>On demand (button or shortcut)</translation>
    </message>
    <message id="request.on_start">
        <source>request.on_start</source>
        <translation>Once after opening the port</translation>
    </message>
    <message id="right">
        <source>right</source>
        <translation>Right arrow</translation>
    </message>
    <message id="sartorius.defaultMessage">
        <source>sartorius.defaultMessage</source>
        <translation>Set the Sartorius balance to 1200 baud, 7 data bits, odd parity, 1 stop bit, and choose print on request (print key) in its data output settings; lines end with CR LF.</translation>
    </message>
    <message id="settings.file.too.large">
        <source>settings.file.too.large</source>
        <translation>The settings would need {0} bytes in the settings file {1}, more than the {2} bytes it can hold; nothing was written.</translation>
    </message>
    <message id="settings.store.damaged.kept">
        <source>settings.store.damaged.kept</source>
        <translation>The settings store {0} is damaged ({1}). It was kept as {2}, and the program starts with fresh settings.</translation>
    </message>
    <message id="sound.none">
        <source>sound.none</source>
        <translation>No sound</translation>
    </message>
    <message id="status.error">
        <source>status.error</source>
        <translation>Instrument error</translation>
    </message>
    <message id="status.not_a_value">
        <source>status.not_a_value</source>
        <translation>Not a value</translation>
    </message>
    <message id="status.overload">
        <source>status.overload</source>
        <translation>Overload</translation>
    </message>
    <message id="status.stable">
        <source>status.stable</source>
        <translation>Stable</translation>
    </message>
    <message id="status.underload">
        <source>status.underload</source>
        <translation>Underload</translation>
    </message>
    <message id="status.unstable">
        <source>status.unstable</source>
        <translation>Not stable</translation>
    </message>
    <message id="tab">
        <source>tab</source>
        <translation>Tab</translation>
    </message>
</context>
</TS>
