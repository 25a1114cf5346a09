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
        <translation>Dieses Objekt bleibt im Papierkorb; die anderen werden trotzdem gelöscht. Prüfen Sie seine Zugriffsrechte und versuchen Sie es erneut.</translation>
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
