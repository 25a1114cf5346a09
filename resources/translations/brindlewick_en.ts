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
        <translation>The item&apos;s content could not be overwritten.</translation>
    </message>
    <message>
        <source>ResWriteError</source>
        <translation>The item&apos;s resource fork could not be overwritten.</translation>
    </message>
    <message>
        <source>FileBusyError</source>
        <translation>A file system is mounted on the item or inside it; the item cannot be removed while it is mounted.</translation>
    </message>
    <message>
        <source>TrashErrorInfo</source>
        <translation>This item stays in the trash; any other items are still deleted. Check its permissions and try again.</translation>
    </message>
    <message>
        <source>TrashBusyInfo</source>
        <translation>This item stays in the trash. Unmount what is mounted on it or inside it and try again.</translation>
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
        <source>HomeTrash</source>
        <translation>Home Trash</translation>
    </message>
    <message>
        <source>Used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Copied Trash Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Trash Items to Delete…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash Information…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Brindlewick</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No auto delete operation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last automatic deletion: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash is empty condition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watching trash condition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shredding trash files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measuring trash condition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred %1 trash item?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred %1 trash items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 will be overwritten and removed. This cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NotAnswering</source>
        <translation>Not answering</translation>
    </message>
    <message>
        <source>RemovedWithoutOverwriting</source>
        <translation>items are removed without overwriting (copy-on-write volume)</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No deletions recorded yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 deletion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 deletions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 deletion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 deletions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash items could not be removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No authentication agent is running to ask for an administrator&apos;s password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The administrator&apos;s authorization was refused.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The permission repair could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The permission repair failed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing: the trash is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trashed on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trashed on an unknown day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>goes at the next check (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no rule wants it gone yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>off (default)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each value must be a number, or empty for the default.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The minimum free space must be a number from %1 to %2 %.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The minimum free space must be a size of %1 or more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The minimum free space must be a size above %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The age limit must be a number of days from %1 (off) to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The trash&apos;s share of its volume must be a number from %1 (off) to %2 %.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The check interval must be a number of seconds from %1 to %2 (one day).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash items deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash emptied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Emptying stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not delete 1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not delete %1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and 1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted 1 item (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted %1 items (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 from the trash on %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 from the trashes on %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>free space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>age</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>size cap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>forced emptying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>chosen items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not deleted: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No deletions recorded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trashed on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history %1 cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--since wants a date such as 2026-12-01 or 2026-12-01T08:30, not %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TRASH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ITEMS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FREE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MINIMUM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STATE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standing by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>deleting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>measuring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>canceling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>short of space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not answering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>removed without overwriting (copy-on-write)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last automatic deletion: none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A deletion pass is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No deletion pass is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing would be deleted now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watches the trashes and shreds their oldest items when a volume runs short of space.
Without options it starts the tray program; with one, it asks the running program,
or does the work itself when none runs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show every trash and its volume.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --status or --history: JSON.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The running program checks now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred every item of every trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --empty-now: do not ask first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the running deletion pass.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List the recorded deletions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --history: only deletions from DATE on (ISO 8601).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alone: start the tray program with trace lines in its log.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --check-now or --empty-now: list what would go, in order, and delete nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;brindlewick --help&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give one of --status, --check-now, --empty-now, --stop and --history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--json goes with --status or --history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--since goes with --history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--yes goes with --empty-now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--dry-run goes with --check-now or --empty-now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brindlewick runs but did not answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brindlewick is not running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--empty-now asks before it deletes and there is no terminal to ask on; give --yes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred %1 items (%2) from every trash? They cannot be brought back. [y/N] </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The trashes are empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The running program empties the trashes now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items left, %2 freed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items deleted (%2), %3 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The running program checks the trashes now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No deletion pass was running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The running deletion pass stops.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The output could not be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; 1 item could not be deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; %2 items could not be deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred 1 item (%2) from every trash? It cannot be brought back. [y/N] </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item left, %2 freed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item deleted (%2), %3 failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Deletion History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter by any text: a name, a folder, a trash, a reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InfoPanel</name>
    <message>
        <source>Trash Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measuring the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space on this volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used by other data:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the trash:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run the trash check at once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure Anew</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure the whole trash again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure only what changed in the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Emptying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the emptying that runs; what is left stays in the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty This Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete every item in this volume&apos;s trash now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next to go:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This volume&apos;s own rules (empty: the default)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum free space:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum free space of this volume, percent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>or as a size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum free space of this volume, gigabytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Age limit of this volume, days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>days ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash at most:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest share of this volume its trash may hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>% of the volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrefsPanel</name>
    <message>
        <source>Brindlewick Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free space on the startup volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep at least this much free:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One percent more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One percent less</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The startup volume already has less free space than this: the next check will start deleting trash items.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The trash may grow to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB before its oldest items are deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check the trashes every:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking more often than once a minute keeps the disks busy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove files without overwriting them first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removed files can then be brought back with recovery tools.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove files without renaming them first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The names of removed files may then still be read from the disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask before shredding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask before a menu command or the information panel shreds trash items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test mode: move trash items to ~/Desktop/Sapperlode instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash items are moved there, not deleted, until Brindlewick quits; test mode is off at the next start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Brindlewick when I log in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tell me when trash items are deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit of the minimum free space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More rules, for every trash (0: off)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Age limit in days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>days ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep each trash under:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest share of its volume a trash may hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>% of its volume</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Trashed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>bw::QtAlertPresenter</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>bw::qt::HistoryTableModel</name>
    <message>
        <source>Deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trashed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path in the trash</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>bw::qt::QtStatusItem</name>
    <message>
        <source>Trash: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free space: %1 (minimum %2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
