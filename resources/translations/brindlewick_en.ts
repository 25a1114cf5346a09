<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Brindlewick</name>
    <message>
        <source>StartEmpty</source>
        <translation>Empty Trashes Now</translation>
    </message>
    <message>
        <source>StopEmpty</source>
        <translation>Stop Emptying</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>NoteSelect</source>
        <translation>Choose the items in the Trash to delete. They are shredded at once and cannot be restored.</translation>
    </message>
    <message>
        <source>DeleteChosenTitle</source>
        <translation>Delete Chosen Trash Items</translation>
    </message>
    <message>
        <source>KindFolder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>KindFile</source>
        <translation>File</translation>
    </message>
    <message>
        <source>KindLink</source>
        <translation>Symbolic link</translation>
    </message>
    <message>
        <source>KindOther</source>
        <translation>Special file</translation>
    </message>
    <message>
        <source>FileMoveError</source>
        <translation>The item could not be moved into the test folder.</translation>
    </message>
    <message>
        <source>FileDeleteError</source>
        <translation>The item could not be removed.</translation>
    </message>
    <message>
        <source>FileRenameError</source>
        <translation>The item could not be renamed before its removal.</translation>
    </message>
    <message>
        <source>FileWriteError</source>
        <translation>The item's content could not be overwritten.</translation>
    </message>
    <message>
        <source>ResWriteError</source>
        <translation>The item's resource fork could not be overwritten.</translation>
    </message>
    <message>
        <source>TrashErrorInfo</source>
        <translation>This item stays in the trash; the others are still deleted. Check its permissions and try again.</translation>
    </message>
    <message>
        <source>TrashError</source>
        <translation>The trash could not be emptied</translation>
    </message>
    <message>
        <source>Understand</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Standingby</source>
        <translation>Standing by</translation>
    </message>
    <message>
        <source>Deleteing</source>
        <translation>Deleting</translation>
    </message>
    <message>
        <source>Measureing</source>
        <translation>Measuring</translation>
    </message>
    <message>
        <source>Canceling</source>
        <translation>Canceling</translation>
    </message>
    <message>
        <source>AutoDeleteOff</source>
        <translation>Automatic deletion is off (minimum free space 0%)</translation>
    </message>
    <message>
        <source>RemovedWithoutOverwriting</source>
        <translation>items are removed without overwriting (copy-on-write volume)</translation>
    </message>
</context>
</TS>
