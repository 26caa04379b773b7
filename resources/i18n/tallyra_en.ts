<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name></name>
    <message id="error">
        <source>error</source>
        <translation>Error</translation>
    </message>
</context>
</TS>
