<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Brindlewick</name>
    <message>
        <source>StartEmpty</source>
        <translation>Papierkörbe jetzt leeren</translation>
    </message>
    <message>
        <source>StopEmpty</source>
        <translation>Leeren anhalten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>NoteSelect</source>
        <translation>Wählen Sie die Objekte im Papierkorb, die gelöscht werden sollen. Sie werden sofort vernichtet und können nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>DeleteChosenTitle</source>
        <translation>Gewählte Papierkorbobjekte löschen</translation>
    </message>
    <message>
        <source>HomeTrash</source>
        <translation>Persönlicher Papierkorb</translation>
    </message>
    <message>
        <source>KindFolder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>KindFile</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>KindLink</source>
        <translation>Symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>KindOther</source>
        <translation>Spezialdatei</translation>
    </message>
    <message>
        <source>FileMoveError</source>
        <translation>Das Objekt konnte nicht in den Testordner verschoben werden.</translation>
    </message>
    <message>
        <source>FileDeleteError</source>
        <translation>Das Objekt konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>FileRenameError</source>
        <translation>Das Objekt konnte vor dem Entfernen nicht umbenannt werden.</translation>
    </message>
    <message>
        <source>FileWriteError</source>
        <translation>Der Inhalt des Objekts konnte nicht überschrieben werden.</translation>
    </message>
    <message>
        <source>ResWriteError</source>
        <translation>Der Ressourcenzweig des Objekts konnte nicht überschrieben werden.</translation>
    </message>
    <message>
        <source>TrashErrorInfo</source>
        <translation>Dieses Objekt bleibt im Papierkorb; weitere Objekte werden trotzdem gelöscht. Prüfen Sie seine Zugriffsrechte und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>TrashError</source>
        <translation>Der Papierkorb konnte nicht geleert werden</translation>
    </message>
    <message>
        <source>Understand</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Standingby</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Deleteing</source>
        <translation>Wird gelöscht</translation>
    </message>
    <message>
        <source>Measureing</source>
        <translation>Wird gemessen</translation>
    </message>
    <message>
        <source>Canceling</source>
        <translation>Wird abgebrochen</translation>
    </message>
    <message>
        <source>AutoDeleteOff</source>
        <translation>Automatisches Löschen ist aus (mindestens 0 % frei)</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Delete Copied Trash Items</source>
        <translation>Kopierte Papierkorbobjekte löschen</translation>
    </message>
    <message>
        <source>Choose Trash Items to Delete…</source>
        <translation>Papierkorbobjekte zum Löschen wählen…</translation>
    </message>
    <message>
        <source>Trash Information…</source>
        <translation>Papierkorb-Informationen…</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Jetzt prüfen</translation>
    </message>
    <message>
        <source>Quit Brindlewick</source>
        <translation>Brindlewick beenden</translation>
    </message>
    <message>
        <source>No auto delete operation.</source>
        <translation>Noch kein automatisches Löschen.</translation>
    </message>
    <message>
        <source>Last automatic deletion: %1</source>
        <translation>Zuletzt automatisch gelöscht: %1</translation>
    </message>
    <message>
        <source>Trash is empty condition</source>
        <translation>Der Papierkorb ist leer</translation>
    </message>
    <message>
        <source>Watching trash condition</source>
        <translation>Der Papierkorb wird überwacht</translation>
    </message>
    <message>
        <source>Shredding trash files</source>
        <translation>Papierkorbobjekte werden vernichtet</translation>
    </message>
    <message>
        <source>Measuring trash condition</source>
        <translation>Der Papierkorb wird gemessen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Shred %1 trash item?</source>
        <translation>%1 Papierkorbobjekt vernichten?</translation>
    </message>
    <message>
        <source>Shred %1 trash items?</source>
        <translation>%1 Papierkorbobjekte vernichten?</translation>
    </message>
    <message>
        <source>%1 will be overwritten and removed. This cannot be undone.</source>
        <translation>%1 werden überschrieben und entfernt. Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Shred</source>
        <translation>Vernichten</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <source>NotAnswering</source>
        <translation>Antwortet nicht</translation>
    </message>
    <message>
        <source>RemovedWithoutOverwriting</source>
        <translation>Objekte werden ohne Überschreiben entfernt (Copy-on-Write-Volume)</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation>Der Verlauf wird gelesen…</translation>
    </message>
    <message>
        <source>No deletions recorded yet.</source>
        <translation>Noch keine Löschungen aufgezeichnet.</translation>
    </message>
    <message>
        <source>%1 deletion</source>
        <translation>%1 Löschung</translation>
    </message>
    <message>
        <source>%1 deletions</source>
        <translation>%1 Löschungen</translation>
    </message>
    <message>
        <source>%1 of %2 deletion</source>
        <translation>%1 von %2 Löschung</translation>
    </message>
    <message>
        <source>%1 of %2 deletions</source>
        <translation>%1 von %2 Löschungen</translation>
    </message>
    <message>
        <source>Trash items could not be removed</source>
        <translation>Papierkorbobjekte konnten nicht entfernt werden</translation>
    </message>
    <message>
        <source>No authentication agent is running to ask for an administrator&apos;s password.</source>
        <translation>Es läuft kein Authentifizierungsagent, der nach dem Passwort eines Administrators fragen könnte.</translation>
    </message>
    <message>
        <source>The administrator&apos;s authorization was refused.</source>
        <translation>Die Berechtigung durch einen Administrator wurde verweigert.</translation>
    </message>
    <message>
        <source>The permission repair could not be started.</source>
        <translation>Die Reparatur der Zugriffsrechte konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The permission repair failed:</source>
        <translation>Die Reparatur der Zugriffsrechte ist fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Nothing: the trash is empty</source>
        <translation>Nichts: Der Papierkorb ist leer</translation>
    </message>
    <message>
        <source>trashed on %1</source>
        <translation>in den Papierkorb gelegt am %1</translation>
    </message>
    <message>
        <source>trashed on an unknown day</source>
        <translation>an einem unbekannten Tag in den Papierkorb gelegt</translation>
    </message>
    <message>
        <source>goes at the next check (%1)</source>
        <translation>wird bei der nächsten Prüfung gelöscht (%1)</translation>
    </message>
    <message>
        <source>no rule wants it gone yet</source>
        <translation>noch verlangt keine Regel sein Löschen</translation>
    </message>
    <message>
        <source>off (default)</source>
        <translation>aus (Standard)</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation>%1 (Standard)</translation>
    </message>
    <message>
        <source>Each value must be a number, or empty for the default.</source>
        <translation>Jeder Wert muss eine Zahl sein oder leer für den Standard.</translation>
    </message>
    <message>
        <source>The minimum free space must be a number from %1 to %2 %.</source>
        <translation>Der mindestens freie Platz muss eine Zahl von %1 bis %2 % sein.</translation>
    </message>
    <message>
        <source>The minimum free space must be a size of %1 or more.</source>
        <translation>Der mindestens freie Platz muss eine Größe ab %1 sein.</translation>
    </message>
    <message>
        <source>The minimum free space must be a size above %1.</source>
        <translation>Der mindestens freie Platz muss eine Größe über %1 sein.</translation>
    </message>
    <message>
        <source>The age limit must be a number of days from %1 (off) to %2.</source>
        <translation>Die Altersgrenze muss eine Zahl von Tagen von %1 (aus) bis %2 sein.</translation>
    </message>
    <message>
        <source>The trash&apos;s share of its volume must be a number from %1 (off) to %2 %.</source>
        <translation>Der Anteil des Papierkorbs an seinem Volume muss eine Zahl von %1 (aus) bis %2 % sein.</translation>
    </message>
    <message>
        <source>The check interval must be a number of seconds from %1 to %2 (one day).</source>
        <translation>Der Prüfabstand muss eine Zahl von Sekunden von %1 bis %2 (ein Tag) sein.</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>Verlauf…</translation>
    </message>
    <message>
        <source>FileBusyError</source>
        <translation>Auf dem Objekt oder darin ist ein Dateisystem eingehängt; das Objekt kann nicht entfernt werden, solange es eingehängt ist.</translation>
    </message>
    <message>
        <source>TrashBusyInfo</source>
        <translation>Dieses Objekt bleibt im Papierkorb. Hängen Sie aus, was darauf oder darin eingehängt ist, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Trash items deleted</source>
        <translation>Papierkorbobjekte gelöscht</translation>
    </message>
    <message>
        <source>Trash emptied</source>
        <translation>Papierkorb geleert</translation>
    </message>
    <message>
        <source>Emptying stopped</source>
        <translation>Leeren angehalten</translation>
    </message>
    <message>
        <source>Could not delete 1 item</source>
        <translation>1 Objekt konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>Could not delete %1 items</source>
        <translation>%1 Objekte konnten nicht gelöscht werden</translation>
    </message>
    <message>
        <source>%1 and 1 more</source>
        <translation>%1 und 1 weiteres</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>Deleted 1 item (%1)</source>
        <translation>1 Objekt gelöscht (%1)</translation>
    </message>
    <message>
        <source>Deleted %1 items (%2)</source>
        <translation>%1 Objekte gelöscht (%2)</translation>
    </message>
    <message>
        <source>%1 from the trash on %2</source>
        <translation>%1 aus dem Papierkorb auf %2</translation>
    </message>
    <message>
        <source>%1 from the trashes on %2</source>
        <translation>%1 aus den Papierkörben auf %2</translation>
    </message>
    <message>
        <source>free space</source>
        <translation>freier Speicher</translation>
    </message>
    <message>
        <source>age</source>
        <translation>Alter</translation>
    </message>
    <message>
        <source>size cap</source>
        <translation>Größengrenze</translation>
    </message>
    <message>
        <source>forced emptying</source>
        <translation>erzwungenes Leeren</translation>
    </message>
    <message>
        <source>chosen items</source>
        <translation>ausgewählte Objekte</translation>
    </message>
    <message>
        <source>command line</source>
        <translation>Befehlszeile</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>not deleted: %1</source>
        <translation>nicht gelöscht: %1</translation>
    </message>
    <message>
        <source>The history cannot be read: %1</source>
        <translation>Der Verlauf kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>No deletions recorded.</source>
        <translation>Keine Löschungen aufgezeichnet.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Trashed on</source>
        <translation>In den Papierkorb gelegt</translation>
    </message>
    <message>
        <source>Original location</source>
        <translation>Ursprünglicher Ort</translation>
    </message>
    <message>
        <source>The history %1 cannot be read: %2</source>
        <translation>Der Verlauf %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>--since wants a date such as 2026-12-01 or 2026-12-01T08:30, not %1</source>
        <translation>--since erwartet ein Datum wie 2026-12-01 oder 2026-12-01T08:30, nicht %1</translation>
    </message>
    <message>
        <source>TRASH</source>
        <translation>PAPIERKORB</translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation>EINHÄNGEPUNKT</translation>
    </message>
    <message>
        <source>ITEMS</source>
        <translation>OBJEKTE</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>GRÖSSE</translation>
    </message>
    <message>
        <source>FREE</source>
        <translation>FREI</translation>
    </message>
    <message>
        <source>MINIMUM</source>
        <translation>MINIMUM</translation>
    </message>
    <message>
        <source>STATE</source>
        <translation>ZUSTAND</translation>
    </message>
    <message>
        <source>standing by</source>
        <translation>bereit</translation>
    </message>
    <message>
        <source>deleting</source>
        <translation>löscht</translation>
    </message>
    <message>
        <source>measuring</source>
        <translation>misst</translation>
    </message>
    <message>
        <source>canceling</source>
        <translation>bricht ab</translation>
    </message>
    <message>
        <source>short of space</source>
        <translation>Speicher knapp</translation>
    </message>
    <message>
        <source>not answering</source>
        <translation>antwortet nicht</translation>
    </message>
    <message>
        <source>removed without overwriting (copy-on-write)</source>
        <translation>ohne Überschreiben entfernt (Copy-on-Write)</translation>
    </message>
    <message>
        <source>Last automatic deletion: none</source>
        <translation>Zuletzt automatisch gelöscht: nie</translation>
    </message>
    <message>
        <source>A deletion pass is running.</source>
        <translation>Ein Löschdurchgang läuft.</translation>
    </message>
    <message>
        <source>No deletion pass is running.</source>
        <translation>Kein Löschdurchgang läuft.</translation>
    </message>
    <message>
        <source>Nothing would be deleted now.</source>
        <translation>Jetzt würde nichts gelöscht.</translation>
    </message>
    <message>
        <source>Watches the trashes and shreds their oldest items when a volume runs short of space.
Without options it starts the tray program; with one, it asks the running program,
or does the work itself when none runs.</source>
        <translation>Überwacht die Papierkörbe und vernichtet ihre ältesten Objekte, wenn einem Volume der Speicher ausgeht.
Ohne Optionen startet es das Programm im Infobereich; mit einer fragt es das laufende Programm
oder erledigt die Arbeit selbst, wenn keines läuft.</translation>
    </message>
    <message>
        <source>Show every trash and its volume.</source>
        <translation>Jeden Papierkorb und sein Volume zeigen.</translation>
    </message>
    <message>
        <source>With --status or --history: JSON.</source>
        <translation>Mit --status oder --history: JSON.</translation>
    </message>
    <message>
        <source>The running program checks now.</source>
        <translation>Das laufende Programm prüft jetzt.</translation>
    </message>
    <message>
        <source>Shred every item of every trash.</source>
        <translation>Jedes Objekt jedes Papierkorbs vernichten.</translation>
    </message>
    <message>
        <source>With --empty-now: do not ask first.</source>
        <translation>Mit --empty-now: nicht vorher fragen.</translation>
    </message>
    <message>
        <source>Stop the running deletion pass.</source>
        <translation>Den laufenden Löschdurchgang anhalten.</translation>
    </message>
    <message>
        <source>List the recorded deletions.</source>
        <translation>Die aufgezeichneten Löschungen auflisten.</translation>
    </message>
    <message>
        <source>With --history: only deletions from DATE on (ISO 8601).</source>
        <translation>Mit --history: nur Löschungen ab DATE (ISO 8601).</translation>
    </message>
    <message>
        <source>Alone: start the tray program with trace lines in its log.</source>
        <translation>Allein: das Programm im Infobereich mit Ablaufzeilen im Protokoll starten.</translation>
    </message>
    <message>
        <source>With --check-now or --empty-now: list what would go, in order, and delete nothing.</source>
        <translation>Mit --check-now oder --empty-now: der Reihe nach auflisten, was gelöscht würde, und nichts löschen.</translation>
    </message>
    <message>
        <source>Try &apos;brindlewick --help&apos;.</source>
        <translation>Siehe &apos;brindlewick --help&apos;.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>Give one of --status, --check-now, --empty-now, --stop and --history.</source>
        <translation>Geben Sie genau eine von --status, --check-now, --empty-now, --stop und --history an.</translation>
    </message>
    <message>
        <source>--json goes with --status or --history.</source>
        <translation>--json gehört zu --status oder --history.</translation>
    </message>
    <message>
        <source>--since goes with --history.</source>
        <translation>--since gehört zu --history.</translation>
    </message>
    <message>
        <source>--yes goes with --empty-now.</source>
        <translation>--yes gehört zu --empty-now.</translation>
    </message>
    <message>
        <source>--dry-run goes with --check-now or --empty-now.</source>
        <translation>--dry-run gehört zu --check-now oder --empty-now.</translation>
    </message>
    <message>
        <source>Brindlewick runs but did not answer</source>
        <translation>Brindlewick läuft, hat aber nicht geantwortet</translation>
    </message>
    <message>
        <source>Brindlewick is not running</source>
        <translation>Brindlewick läuft nicht</translation>
    </message>
    <message>
        <source>--empty-now asks before it deletes and there is no terminal to ask on; give --yes.</source>
        <translation>--empty-now fragt vor dem Löschen, und es gibt kein Terminal zum Fragen; geben Sie --yes an.</translation>
    </message>
    <message>
        <source>Shred %1 items (%2) from every trash? They cannot be brought back. [y/N] </source>
        <translation>%1 Objekte (%2) aus allen Papierkörben vernichten? Sie lassen sich nicht zurückholen. [y/N] </translation>
    </message>
    <message>
        <source>The trashes are empty.</source>
        <translation>Die Papierkörbe sind leer.</translation>
    </message>
    <message>
        <source>Nothing was deleted.</source>
        <translation>Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>The running program empties the trashes now.</source>
        <translation>Das laufende Programm leert jetzt die Papierkörbe.</translation>
    </message>
    <message>
        <source>%1 items left, %2 freed</source>
        <translation>%1 Objekte übrig, %2 freigegeben</translation>
    </message>
    <message>
        <source>%1 items deleted (%2), %3 failed</source>
        <translation>%1 Objekte gelöscht (%2), %3 fehlgeschlagen</translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>Angehalten: %1</translation>
    </message>
    <message>
        <source>The running program checks the trashes now.</source>
        <translation>Das laufende Programm prüft jetzt die Papierkörbe.</translation>
    </message>
    <message>
        <source>No deletion pass was running.</source>
        <translation>Es lief kein Löschdurchgang.</translation>
    </message>
    <message>
        <source>The running deletion pass stops.</source>
        <translation>Der laufende Löschdurchgang hält an.</translation>
    </message>
    <message>
        <source>The output could not be written: %1</source>
        <translation>Die Ausgabe konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>%1; 1 item could not be deleted</source>
        <translation>%1; 1 Objekt konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>%1; %2 items could not be deleted</source>
        <translation>%1; %2 Objekte konnten nicht gelöscht werden</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Shred 1 item (%2) from every trash? It cannot be brought back. [y/N] </source>
        <translation>1 Objekt (%2) aus allen Papierkörben vernichten? Es lässt sich nicht zurückholen. [y/N] </translation>
    </message>
    <message>
        <source>1 item left, %2 freed</source>
        <translation>1 Objekt übrig, %2 freigegeben</translation>
    </message>
    <message>
        <source>1 item deleted (%2), %3 failed</source>
        <translation>1 Objekt gelöscht (%2), %3 fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Deletion History</source>
        <translation>Löschverlauf</translation>
    </message>
    <message>
        <source>Filter by any text: a name, a folder, a trash, a reason</source>
        <translation>Nach beliebigem Text filtern: Name, Ordner, Papierkorb, Grund</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>InfoPanel</name>
    <message>
        <source>Trash Information</source>
        <translation>Papierkorb-Informationen</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <source>Measuring the trash</source>
        <translation>Der Papierkorb wird gemessen</translation>
    </message>
    <message>
        <source>Space on this volume</source>
        <translation>Platz auf diesem Volume</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Kapazität:</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Used by other data:</source>
        <translation>Von anderen Daten belegt:</translation>
    </message>
    <message>
        <source>In the trash:</source>
        <translation>Im Papierkorb:</translation>
    </message>
    <message>
        <source>Free:</source>
        <translation>Frei:</translation>
    </message>
    <message>
        <source>Deleting:</source>
        <translation>Wird gelöscht:</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Jetzt prüfen</translation>
    </message>
    <message>
        <source>Run the trash check at once</source>
        <translation>Die Papierkörbe sofort prüfen</translation>
    </message>
    <message>
        <source>Measure Anew</source>
        <translation>Neu messen</translation>
    </message>
    <message>
        <source>Measure the whole trash again</source>
        <translation>Den ganzen Papierkorb neu messen</translation>
    </message>
    <message>
        <source>Measure Changes</source>
        <translation>Änderungen messen</translation>
    </message>
    <message>
        <source>Measure only what changed in the trash</source>
        <translation>Nur messen, was sich im Papierkorb geändert hat</translation>
    </message>
    <message>
        <source>Stop Emptying</source>
        <translation>Leeren anhalten</translation>
    </message>
    <message>
        <source>Stop the emptying that runs; what is left stays in the trash</source>
        <translation>Das laufende Leeren anhalten; was übrig ist, bleibt im Papierkorb</translation>
    </message>
    <message>
        <source>Empty This Trash</source>
        <translation>Diesen Papierkorb leeren</translation>
    </message>
    <message>
        <source>Delete every item in this volume&apos;s trash now</source>
        <translation>Alle Objekte im Papierkorb dieses Volumes jetzt löschen</translation>
    </message>
    <message>
        <source>Next to go:</source>
        <translation>Als Nächstes:</translation>
    </message>
    <message>
        <source>This volume&apos;s own rules (empty: the default)</source>
        <translation>Eigene Regeln dieses Volumes (leer: Standard)</translation>
    </message>
    <message>
        <source>Minimum free space:</source>
        <translation>Mindestens frei:</translation>
    </message>
    <message>
        <source>Minimum free space of this volume, percent</source>
        <translation>Mindestens freier Platz auf diesem Volume, in Prozent</translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation>% der Kapazität</translation>
    </message>
    <message>
        <source>or as a size:</source>
        <translation>oder als Größe:</translation>
    </message>
    <message>
        <source>Minimum free space of this volume, gigabytes</source>
        <translation>Mindestens freier Platz auf diesem Volume, in Gigabyte</translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation>Objekte löschen, die länger im Papierkorb liegen als:</translation>
    </message>
    <message>
        <source>Age limit of this volume, days</source>
        <translation>Altersgrenze für dieses Volume, in Tagen</translation>
    </message>
    <message>
        <source>days ago</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Trash at most:</source>
        <translation>Papierkorb höchstens:</translation>
    </message>
    <message>
        <source>Largest share of this volume its trash may hold</source>
        <translation>Größter Anteil dieses Volumes, den sein Papierkorb belegen darf</translation>
    </message>
    <message>
        <source>% of the volume</source>
        <translation>% des Volumes</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
</context>
<context>
    <name>PrefsPanel</name>
    <message>
        <source>Brindlewick Preferences</source>
        <translation>Brindlewick-Einstellungen</translation>
    </message>
    <message>
        <source>Free space on the startup volume</source>
        <translation>Freier Platz auf dem Startvolume</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Kapazität:</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Keep at least this much free:</source>
        <translation>Mindestens so viel frei halten:</translation>
    </message>
    <message>
        <source>One percent more</source>
        <translation>Ein Prozent mehr</translation>
    </message>
    <message>
        <source>One percent less</source>
        <translation>Ein Prozent weniger</translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation>% der Kapazität</translation>
    </message>
    <message>
        <source>The startup volume already has less free space than this: the next check will start deleting trash items.</source>
        <translation>Das Startvolume hat schon weniger freien Platz: Die nächste Prüfung beginnt, Papierkorbobjekte zu löschen.</translation>
    </message>
    <message>
        <source>The trash may grow to:</source>
        <translation>Der Papierkorb darf wachsen bis:</translation>
    </message>
    <message>
        <source>GB before its oldest items are deleted</source>
        <translation>GB, bevor seine ältesten Objekte gelöscht werden</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Check the trashes every:</source>
        <translation>Die Papierkörbe prüfen alle:</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Checking more often than once a minute keeps the disks busy.</source>
        <translation>Häufiger als einmal pro Minute zu prüfen hält die Festplatten beschäftigt.</translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Remove files without overwriting them first</source>
        <translation>Dateien entfernen, ohne sie vorher zu überschreiben</translation>
    </message>
    <message>
        <source>Removed files can then be brought back with recovery tools.</source>
        <translation>Entfernte Dateien lassen sich dann mit Rettungsprogrammen zurückholen.</translation>
    </message>
    <message>
        <source>Remove files without renaming them first</source>
        <translation>Dateien entfernen, ohne sie vorher umzubenennen</translation>
    </message>
    <message>
        <source>The names of removed files may then still be read from the disk.</source>
        <translation>Die Namen entfernter Dateien können dann noch auf der Festplatte gelesen werden.</translation>
    </message>
    <message>
        <source>Ask before shredding</source>
        <translation>Vor dem Vernichten fragen</translation>
    </message>
    <message>
        <source>Ask before a menu command or the information panel shreds trash items</source>
        <translation>Fragen, bevor ein Menübefehl oder das Informationsfenster Papierkorbobjekte vernichtet</translation>
    </message>
    <message>
        <source>Test mode: move trash items to ~/Desktop/Sapperlode instead</source>
        <translation>Testmodus: Papierkorbobjekte stattdessen nach ~/Desktop/Sapperlode verschieben</translation>
    </message>
    <message>
        <source>Trash items are moved there, not deleted, until Brindlewick quits; test mode is off at the next start.</source>
        <translation>Papierkorbobjekte werden dorthin verschoben statt gelöscht, bis Brindlewick endet; beim nächsten Start ist der Testmodus aus.</translation>
    </message>
    <message>
        <source>Start Brindlewick when I log in</source>
        <translation>Brindlewick beim Anmelden starten</translation>
    </message>
    <message>
        <source>Tell me when trash items are deleted</source>
        <translation>Mitteilen, wenn Papierkorbobjekte gelöscht werden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Unit of the minimum free space</source>
        <translation>Einheit des mindestens freien Platzes</translation>
    </message>
    <message>
        <source>More rules, for every trash (0: off)</source>
        <translation>Weitere Regeln, für jeden Papierkorb (0: aus)</translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation>Objekte löschen, die länger im Papierkorb liegen als:</translation>
    </message>
    <message>
        <source>Age limit in days</source>
        <translation>Altersgrenze in Tagen</translation>
    </message>
    <message>
        <source>days ago</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Keep each trash under:</source>
        <translation>Jeden Papierkorb kleiner halten als:</translation>
    </message>
    <message>
        <source>Largest share of its volume a trash may hold</source>
        <translation>Größter Anteil seines Volumes, den ein Papierkorb belegen darf</translation>
    </message>
    <message>
        <source>% of its volume</source>
        <translation>% seines Volumes</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Date Trashed</source>
        <translation>Gelöscht am</translation>
    </message>
    <message>
        <source>Original Location</source>
        <translation>Ursprünglicher Ort</translation>
    </message>
    <message>
        <source>Trash items</source>
        <translation>Papierkorbobjekte</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>bw::QtAlertPresenter</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>bw::qt::HistoryTableModel</name>
    <message>
        <source>Deleted</source>
        <translation>Gelöscht</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Trashed</source>
        <translation>In den Papierkorb gelegt</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>Original location</source>
        <translation>Ursprünglicher Ort</translation>
    </message>
    <message>
        <source>Path in the trash</source>
        <translation>Pfad im Papierkorb</translation>
    </message>
</context>
<context>
    <name>bw::qt::QtStatusItem</name>
    <message>
        <source>Trash: %1</source>
        <translation>Papierkorb: %1</translation>
    </message>
    <message>
        <source>Free space: %1 (minimum %2)</source>
        <translation>Freier Platz: %1 (mindestens %2)</translation>
    </message>
</context>
</TS>
