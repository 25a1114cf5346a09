<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Brindlewick</name>
    <message>
        <source>StartEmpty</source>
        <translation>Vider les corbeilles maintenant</translation>
    </message>
    <message>
        <source>StopEmpty</source>
        <translation>Arrêter de vider</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>NoteSelect</source>
        <translation>Choisissez les éléments de la corbeille à supprimer. Ils sont détruits aussitôt et ne peuvent pas être restaurés.</translation>
    </message>
    <message>
        <source>DeleteChosenTitle</source>
        <translation>Supprimer les éléments choisis de la corbeille</translation>
    </message>
    <message>
        <source>HomeTrash</source>
        <translation>Corbeille personnelle</translation>
    </message>
    <message>
        <source>KindFolder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>KindFile</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>KindLink</source>
        <translation>Lien symbolique</translation>
    </message>
    <message>
        <source>KindOther</source>
        <translation>Fichier spécial</translation>
    </message>
    <message>
        <source>FileMoveError</source>
        <translation>L&apos;élément n&apos;a pas pu être déplacé dans le dossier de test.</translation>
    </message>
    <message>
        <source>FileDeleteError</source>
        <translation>L&apos;élément n&apos;a pas pu être supprimé.</translation>
    </message>
    <message>
        <source>FileRenameError</source>
        <translation>L&apos;élément n&apos;a pas pu être renommé avant sa suppression.</translation>
    </message>
    <message>
        <source>FileWriteError</source>
        <translation>Le contenu de l&apos;élément n&apos;a pas pu être écrasé.</translation>
    </message>
    <message>
        <source>ResWriteError</source>
        <translation>La ressource de l&apos;élément n&apos;a pas pu être écrasée.</translation>
    </message>
    <message>
        <source>TrashErrorInfo</source>
        <translation>Cet élément reste dans la corbeille ; les autres éléments éventuels sont tout de même supprimés. Vérifiez ses droits et réessayez.</translation>
    </message>
    <message>
        <source>TrashError</source>
        <translation>La corbeille n&apos;a pas pu être vidée</translation>
    </message>
    <message>
        <source>Understand</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Standingby</source>
        <translation>En attente</translation>
    </message>
    <message>
        <source>Deleteing</source>
        <translation>Suppression en cours</translation>
    </message>
    <message>
        <source>Measureing</source>
        <translation>Mesure en cours</translation>
    </message>
    <message>
        <source>Canceling</source>
        <translation>Annulation en cours</translation>
    </message>
    <message>
        <source>AutoDeleteOff</source>
        <translation>La suppression automatique est désactivée (espace libre minimal 0 %)</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Utilisé</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Corbeille</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>Delete Copied Trash Items</source>
        <translation>Supprimer les éléments copiés de la corbeille</translation>
    </message>
    <message>
        <source>Choose Trash Items to Delete…</source>
        <translation>Choisir les éléments de la corbeille à supprimer…</translation>
    </message>
    <message>
        <source>Trash Information…</source>
        <translation>Informations sur la corbeille…</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Préférences…</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Vérifier maintenant</translation>
    </message>
    <message>
        <source>Quit Brindlewick</source>
        <translation>Quitter Brindlewick</translation>
    </message>
    <message>
        <source>No auto delete operation.</source>
        <translation>Aucune suppression automatique.</translation>
    </message>
    <message>
        <source>Last automatic deletion: %1</source>
        <translation>Dernière suppression automatique : %1</translation>
    </message>
    <message>
        <source>Trash is empty condition</source>
        <translation>La corbeille est vide</translation>
    </message>
    <message>
        <source>Watching trash condition</source>
        <translation>La corbeille est surveillée</translation>
    </message>
    <message>
        <source>Shredding trash files</source>
        <translation>Destruction des éléments de la corbeille</translation>
    </message>
    <message>
        <source>Measuring trash condition</source>
        <translation>Mesure de la corbeille</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Shred %1 trash item?</source>
        <translation>Détruire %1 élément de la corbeille ?</translation>
    </message>
    <message>
        <source>Shred %1 trash items?</source>
        <translation>Détruire %1 éléments de la corbeille ?</translation>
    </message>
    <message>
        <source>%1 will be overwritten and removed. This cannot be undone.</source>
        <translation>%1 seront écrasés et supprimés. Cette action est irréversible.</translation>
    </message>
    <message>
        <source>Shred</source>
        <translation>Détruire</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Ne plus demander</translation>
    </message>
    <message>
        <source>NotAnswering</source>
        <translation>Ne répond pas</translation>
    </message>
    <message>
        <source>RemovedWithoutOverwriting</source>
        <translation>les éléments sont supprimés sans être écrasés (volume en copie sur écriture)</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation>Lecture de l’historique…</translation>
    </message>
    <message>
        <source>No deletions recorded yet.</source>
        <translation>Aucune suppression enregistrée pour l’instant.</translation>
    </message>
    <message>
        <source>%1 deletion</source>
        <translation>%1 suppression</translation>
    </message>
    <message>
        <source>%1 deletions</source>
        <translation>%1 suppressions</translation>
    </message>
    <message>
        <source>%1 of %2 deletion</source>
        <translation>%1 sur %2 suppression</translation>
    </message>
    <message>
        <source>%1 of %2 deletions</source>
        <translation>%1 sur %2 suppressions</translation>
    </message>
    <message>
        <source>Trash items could not be removed</source>
        <translation>Des éléments de la corbeille n’ont pas pu être supprimés</translation>
    </message>
    <message>
        <source>No authentication agent is running to ask for an administrator&apos;s password.</source>
        <translation>Aucun agent d’authentification n’est lancé pour demander le mot de passe d’un administrateur.</translation>
    </message>
    <message>
        <source>The administrator&apos;s authorization was refused.</source>
        <translation>L’autorisation de l’administrateur a été refusée.</translation>
    </message>
    <message>
        <source>The permission repair could not be started.</source>
        <translation>La réparation des droits n’a pas pu être lancée.</translation>
    </message>
    <message>
        <source>The permission repair failed:</source>
        <translation>La réparation des droits a échoué :</translation>
    </message>
    <message>
        <source>Nothing: the trash is empty</source>
        <translation>Rien : la corbeille est vide</translation>
    </message>
    <message>
        <source>trashed on %1</source>
        <translation>mis à la corbeille le %1</translation>
    </message>
    <message>
        <source>trashed on an unknown day</source>
        <translation>mis à la corbeille à une date inconnue</translation>
    </message>
    <message>
        <source>goes at the next check (%1)</source>
        <translation>part à la prochaine vérification (%1)</translation>
    </message>
    <message>
        <source>no rule wants it gone yet</source>
        <translation>aucune règle ne demande encore sa suppression</translation>
    </message>
    <message>
        <source>off (default)</source>
        <translation>désactivé (par défaut)</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation>%1 (par défaut)</translation>
    </message>
    <message>
        <source>Each value must be a number, or empty for the default.</source>
        <translation>Chaque valeur doit être un nombre, ou vide pour la valeur par défaut.</translation>
    </message>
    <message>
        <source>The minimum free space must be a number from %1 to %2 %.</source>
        <translation>L’espace libre minimal doit être un nombre de %1 à %2 %.</translation>
    </message>
    <message>
        <source>The minimum free space must be a size of %1 or more.</source>
        <translation>L’espace libre minimal doit être une taille de %1 ou plus.</translation>
    </message>
    <message>
        <source>The minimum free space must be a size above %1.</source>
        <translation>L’espace libre minimal doit être une taille supérieure à %1.</translation>
    </message>
    <message>
        <source>The age limit must be a number of days from %1 (off) to %2.</source>
        <translation>La limite d’âge doit être un nombre de jours de %1 (désactivée) à %2.</translation>
    </message>
    <message>
        <source>The trash&apos;s share of its volume must be a number from %1 (off) to %2 %.</source>
        <translation>La part de son volume occupée par la corbeille doit être un nombre de %1 (désactivée) à %2 %.</translation>
    </message>
    <message>
        <source>The check interval must be a number of seconds from %1 to %2 (one day).</source>
        <translation>L’intervalle de vérification doit être un nombre de secondes de %1 à %2 (un jour).</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>Historique…</translation>
    </message>
    <message>
        <source>FileBusyError</source>
        <translation>Un système de fichiers est monté sur l’élément ou à l’intérieur ; l’élément ne peut pas être supprimé tant qu’il est monté.</translation>
    </message>
    <message>
        <source>TrashBusyInfo</source>
        <translation>Cet élément reste dans la corbeille. Démontez ce qui est monté dessus ou à l’intérieur et réessayez.</translation>
    </message>
    <message>
        <source>Trash items deleted</source>
        <translation>Éléments de la corbeille supprimés</translation>
    </message>
    <message>
        <source>Trash emptied</source>
        <translation>Corbeille vidée</translation>
    </message>
    <message>
        <source>Emptying stopped</source>
        <translation>Vidage arrêté</translation>
    </message>
    <message>
        <source>Could not delete 1 item</source>
        <translation>Impossible de supprimer 1 élément</translation>
    </message>
    <message>
        <source>Could not delete %1 items</source>
        <translation>Impossible de supprimer %1 éléments</translation>
    </message>
    <message>
        <source>%1 and 1 more</source>
        <translation>%1 et 1 autre</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 et %2 autres</translation>
    </message>
    <message>
        <source>Deleted 1 item (%1)</source>
        <translation>1 élément supprimé (%1)</translation>
    </message>
    <message>
        <source>Deleted %1 items (%2)</source>
        <translation>%1 éléments supprimés (%2)</translation>
    </message>
    <message>
        <source>%1 from the trash on %2</source>
        <translation>%1 de la corbeille de %2</translation>
    </message>
    <message>
        <source>%1 from the trashes on %2</source>
        <translation>%1 des corbeilles de %2</translation>
    </message>
    <message>
        <source>free space</source>
        <translation>espace libre</translation>
    </message>
    <message>
        <source>age</source>
        <translation>âge</translation>
    </message>
    <message>
        <source>size cap</source>
        <translation>taille maximale</translation>
    </message>
    <message>
        <source>forced emptying</source>
        <translation>vidage forcé</translation>
    </message>
    <message>
        <source>chosen items</source>
        <translation>éléments choisis</translation>
    </message>
    <message>
        <source>command line</source>
        <translation>ligne de commande</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>inconnu</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>supprimé</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>échec : %1</translation>
    </message>
    <message>
        <source>not deleted: %1</source>
        <translation>non supprimé : %1</translation>
    </message>
    <message>
        <source>The history cannot be read: %1</source>
        <translation>L’historique ne peut pas être lu : %1</translation>
    </message>
    <message>
        <source>No deletions recorded.</source>
        <translation>Aucune suppression enregistrée.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motif</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Résultat</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Trashed on</source>
        <translation>Mis à la corbeille</translation>
    </message>
    <message>
        <source>Original location</source>
        <translation>Emplacement d’origine</translation>
    </message>
    <message>
        <source>The history %1 cannot be read: %2</source>
        <translation>L’historique %1 ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>--since wants a date such as 2026-12-01 or 2026-12-01T08:30, not %1</source>
        <translation>--since attend une date comme 2026-12-01 ou 2026-12-01T08:30, pas %1</translation>
    </message>
    <message>
        <source>TRASH</source>
        <translation>CORBEILLE</translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation>POINT DE MONTAGE</translation>
    </message>
    <message>
        <source>ITEMS</source>
        <translation>ÉLÉMENTS</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>TAILLE</translation>
    </message>
    <message>
        <source>FREE</source>
        <translation>LIBRE</translation>
    </message>
    <message>
        <source>MINIMUM</source>
        <translation>MINIMUM</translation>
    </message>
    <message>
        <source>STATE</source>
        <translation>ÉTAT</translation>
    </message>
    <message>
        <source>standing by</source>
        <translation>en attente</translation>
    </message>
    <message>
        <source>deleting</source>
        <translation>suppression en cours</translation>
    </message>
    <message>
        <source>measuring</source>
        <translation>mesure en cours</translation>
    </message>
    <message>
        <source>canceling</source>
        <translation>annulation en cours</translation>
    </message>
    <message>
        <source>short of space</source>
        <translation>manque d’espace</translation>
    </message>
    <message>
        <source>not answering</source>
        <translation>ne répond pas</translation>
    </message>
    <message>
        <source>removed without overwriting (copy-on-write)</source>
        <translation>supprimé sans écrasement (copie sur écriture)</translation>
    </message>
    <message>
        <source>Last automatic deletion: none</source>
        <translation>Dernière suppression automatique : aucune</translation>
    </message>
    <message>
        <source>A deletion pass is running.</source>
        <translation>Une passe de suppression est en cours.</translation>
    </message>
    <message>
        <source>No deletion pass is running.</source>
        <translation>Aucune passe de suppression n’est en cours.</translation>
    </message>
    <message>
        <source>Nothing would be deleted now.</source>
        <translation>Rien ne serait supprimé maintenant.</translation>
    </message>
    <message>
        <source>Watches the trashes and shreds their oldest items when a volume runs short of space.
Without options it starts the tray program; with one, it asks the running program,
or does the work itself when none runs.</source>
        <translation>Surveille les corbeilles et détruit leurs éléments les plus anciens quand un volume manque d’espace.
Sans option, il lance le programme de la zone de notification ; avec une option, il la transmet au programme
en cours, ou fait le travail lui-même quand aucun ne tourne.</translation>
    </message>
    <message>
        <source>Show every trash and its volume.</source>
        <translation>Afficher chaque corbeille et son volume.</translation>
    </message>
    <message>
        <source>With --status or --history: JSON.</source>
        <translation>Avec --status ou --history : JSON.</translation>
    </message>
    <message>
        <source>The running program checks now.</source>
        <translation>Le programme en cours vérifie maintenant.</translation>
    </message>
    <message>
        <source>Shred every item of every trash.</source>
        <translation>Détruire chaque élément de chaque corbeille.</translation>
    </message>
    <message>
        <source>With --empty-now: do not ask first.</source>
        <translation>Avec --empty-now : ne pas demander d’abord.</translation>
    </message>
    <message>
        <source>Stop the running deletion pass.</source>
        <translation>Arrêter la passe de suppression en cours.</translation>
    </message>
    <message>
        <source>List the recorded deletions.</source>
        <translation>Lister les suppressions enregistrées.</translation>
    </message>
    <message>
        <source>With --history: only deletions from DATE on (ISO 8601).</source>
        <translation>Avec --history : seulement les suppressions à partir de DATE (ISO 8601).</translation>
    </message>
    <message>
        <source>Alone: start the tray program with trace lines in its log.</source>
        <translation>Seule : lancer le programme de la zone de notification avec des lignes de trace dans son journal.</translation>
    </message>
    <message>
        <source>With --check-now or --empty-now: list what would go, in order, and delete nothing.</source>
        <translation>Avec --check-now ou --empty-now : lister dans l’ordre ce qui partirait, sans rien supprimer.</translation>
    </message>
    <message>
        <source>Try &apos;brindlewick --help&apos;.</source>
        <translation>Essayez &apos;brindlewick --help&apos;.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argument inattendu : %1</translation>
    </message>
    <message>
        <source>Give one of --status, --check-now, --empty-now, --stop and --history.</source>
        <translation>Donnez une seule option parmi --status, --check-now, --empty-now, --stop et --history.</translation>
    </message>
    <message>
        <source>--json goes with --status or --history.</source>
        <translation>--json va avec --status ou --history.</translation>
    </message>
    <message>
        <source>--since goes with --history.</source>
        <translation>--since va avec --history.</translation>
    </message>
    <message>
        <source>--yes goes with --empty-now.</source>
        <translation>--yes va avec --empty-now.</translation>
    </message>
    <message>
        <source>--dry-run goes with --check-now or --empty-now.</source>
        <translation>--dry-run va avec --check-now ou --empty-now.</translation>
    </message>
    <message>
        <source>Brindlewick runs but did not answer</source>
        <translation>Brindlewick tourne mais n’a pas répondu</translation>
    </message>
    <message>
        <source>Brindlewick is not running</source>
        <translation>Brindlewick ne tourne pas</translation>
    </message>
    <message>
        <source>--empty-now asks before it deletes and there is no terminal to ask on; give --yes.</source>
        <translation>--empty-now demande avant de supprimer et il n’y a pas de terminal où demander ; donnez --yes.</translation>
    </message>
    <message>
        <source>Shred %1 items (%2) from every trash? They cannot be brought back. [y/N] </source>
        <translation>Détruire %1 éléments (%2) de toutes les corbeilles ? Ils ne pourront pas être récupérés. [y/N] </translation>
    </message>
    <message>
        <source>The trashes are empty.</source>
        <translation>Les corbeilles sont vides.</translation>
    </message>
    <message>
        <source>Nothing was deleted.</source>
        <translation>Rien n’a été supprimé.</translation>
    </message>
    <message>
        <source>The running program empties the trashes now.</source>
        <translation>Le programme en cours vide maintenant les corbeilles.</translation>
    </message>
    <message>
        <source>%1 items left, %2 freed</source>
        <translation>%1 éléments restants, %2 libérés</translation>
    </message>
    <message>
        <source>%1 items deleted (%2), %3 failed</source>
        <translation>%1 éléments supprimés (%2), %3 en échec</translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>Arrêté : %1</translation>
    </message>
    <message>
        <source>The running program checks the trashes now.</source>
        <translation>Le programme en cours vérifie maintenant les corbeilles.</translation>
    </message>
    <message>
        <source>No deletion pass was running.</source>
        <translation>Aucune passe de suppression n’était en cours.</translation>
    </message>
    <message>
        <source>The running deletion pass stops.</source>
        <translation>La passe de suppression en cours s’arrête.</translation>
    </message>
    <message>
        <source>The output could not be written: %1</source>
        <translation>La sortie n’a pas pu être écrite : %1</translation>
    </message>
    <message>
        <source>%1; 1 item could not be deleted</source>
        <translation>%1 ; 1 élément n’a pas pu être supprimé</translation>
    </message>
    <message>
        <source>%1; %2 items could not be deleted</source>
        <translation>%1 ; %2 éléments n’ont pas pu être supprimés</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Shred 1 item (%2) from every trash? It cannot be brought back. [y/N] </source>
        <translation>Détruire 1 élément (%2) de toutes les corbeilles ? Il ne pourra pas être récupéré. [y/N] </translation>
    </message>
    <message>
        <source>1 item left, %2 freed</source>
        <translation>1 élément restant, %2 libérés</translation>
    </message>
    <message>
        <source>1 item deleted (%2), %3 failed</source>
        <translation>1 élément supprimé (%2), %3 en échec</translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Deletion History</source>
        <translation>Historique des suppressions</translation>
    </message>
    <message>
        <source>Filter by any text: a name, a folder, a trash, a reason</source>
        <translation>Filtrer par n’importe quel texte : nom, dossier, corbeille, raison</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>InfoPanel</name>
    <message>
        <source>Trash Information</source>
        <translation>Informations sur la corbeille</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volume :</translation>
    </message>
    <message>
        <source>Measuring the trash</source>
        <translation>Mesure de la corbeille</translation>
    </message>
    <message>
        <source>Space on this volume</source>
        <translation>Espace sur ce volume</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Capacité :</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>Used by other data:</source>
        <translation>Utilisé par d’autres données :</translation>
    </message>
    <message>
        <source>In the trash:</source>
        <translation>Dans la corbeille :</translation>
    </message>
    <message>
        <source>Free:</source>
        <translation>Libre :</translation>
    </message>
    <message>
        <source>Deleting:</source>
        <translation>Suppression :</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Vérifier maintenant</translation>
    </message>
    <message>
        <source>Run the trash check at once</source>
        <translation>Vérifier les corbeilles tout de suite</translation>
    </message>
    <message>
        <source>Measure Anew</source>
        <translation>Mesurer de nouveau</translation>
    </message>
    <message>
        <source>Measure the whole trash again</source>
        <translation>Mesurer de nouveau toute la corbeille</translation>
    </message>
    <message>
        <source>Measure Changes</source>
        <translation>Mesurer les changements</translation>
    </message>
    <message>
        <source>Measure only what changed in the trash</source>
        <translation>Mesurer seulement ce qui a changé dans la corbeille</translation>
    </message>
    <message>
        <source>Stop Emptying</source>
        <translation>Arrêter de vider</translation>
    </message>
    <message>
        <source>Stop the emptying that runs; what is left stays in the trash</source>
        <translation>Arrêter le vidage en cours ; le reste demeure dans la corbeille</translation>
    </message>
    <message>
        <source>Empty This Trash</source>
        <translation>Vider cette corbeille</translation>
    </message>
    <message>
        <source>Delete every item in this volume&apos;s trash now</source>
        <translation>Supprimer maintenant tous les éléments de la corbeille de ce volume</translation>
    </message>
    <message>
        <source>Next to go:</source>
        <translation>Prochain à partir :</translation>
    </message>
    <message>
        <source>This volume&apos;s own rules (empty: the default)</source>
        <translation>Règles propres à ce volume (vide : valeur par défaut)</translation>
    </message>
    <message>
        <source>Minimum free space:</source>
        <translation>Espace libre minimal :</translation>
    </message>
    <message>
        <source>Minimum free space of this volume, percent</source>
        <translation>Espace libre minimal de ce volume, en pour cent</translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation>% de la capacité</translation>
    </message>
    <message>
        <source>or as a size:</source>
        <translation>ou en taille :</translation>
    </message>
    <message>
        <source>Minimum free space of this volume, gigabytes</source>
        <translation>Espace libre minimal de ce volume, en gigaoctets</translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation>Supprimer les éléments mis à la corbeille il y a plus de :</translation>
    </message>
    <message>
        <source>Age limit of this volume, days</source>
        <translation>Limite d’âge de ce volume, en jours</translation>
    </message>
    <message>
        <source>days ago</source>
        <translation>jours</translation>
    </message>
    <message>
        <source>Trash at most:</source>
        <translation>Corbeille au plus :</translation>
    </message>
    <message>
        <source>Largest share of this volume its trash may hold</source>
        <translation>Part maximale de ce volume que sa corbeille peut occuper</translation>
    </message>
    <message>
        <source>% of the volume</source>
        <translation>% du volume</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
</context>
<context>
    <name>PrefsPanel</name>
    <message>
        <source>Brindlewick Preferences</source>
        <translation>Préférences de Brindlewick</translation>
    </message>
    <message>
        <source>Free space on the startup volume</source>
        <translation>Espace libre sur le volume de démarrage</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Capacité :</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>Keep at least this much free:</source>
        <translation>Garder au moins autant de libre :</translation>
    </message>
    <message>
        <source>One percent more</source>
        <translation>Un pour cent de plus</translation>
    </message>
    <message>
        <source>One percent less</source>
        <translation>Un pour cent de moins</translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation>% de la capacité</translation>
    </message>
    <message>
        <source>The startup volume already has less free space than this: the next check will start deleting trash items.</source>
        <translation>Le volume de démarrage a déjà moins d&apos;espace libre : la prochaine vérification commencera à supprimer des éléments de la corbeille.</translation>
    </message>
    <message>
        <source>The trash may grow to:</source>
        <translation>La corbeille peut atteindre :</translation>
    </message>
    <message>
        <source>GB before its oldest items are deleted</source>
        <translation>Go avant que ses plus anciens éléments soient supprimés</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>Check the trashes every:</source>
        <translation>Vérifier les corbeilles toutes les :</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>Checking more often than once a minute keeps the disks busy.</source>
        <translation>Vérifier plus d’une fois par minute occupe les disques sans cesse.</translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation>Suppression</translation>
    </message>
    <message>
        <source>Remove files without overwriting them first</source>
        <translation>Supprimer les fichiers sans les écraser d&apos;abord</translation>
    </message>
    <message>
        <source>Removed files can then be brought back with recovery tools.</source>
        <translation>Les fichiers supprimés peuvent alors être récupérés avec des outils de restauration.</translation>
    </message>
    <message>
        <source>Remove files without renaming them first</source>
        <translation>Supprimer les fichiers sans les renommer d&apos;abord</translation>
    </message>
    <message>
        <source>The names of removed files may then still be read from the disk.</source>
        <translation>Les noms des fichiers supprimés pourront alors encore être lus sur le disque.</translation>
    </message>
    <message>
        <source>Ask before shredding</source>
        <translation>Demander avant de détruire</translation>
    </message>
    <message>
        <source>Ask before a menu command or the information panel shreds trash items</source>
        <translation>Demander avant qu&apos;une commande du menu ou le panneau d&apos;informations ne détruise des éléments</translation>
    </message>
    <message>
        <source>Test mode: move trash items to ~/Desktop/Sapperlode instead</source>
        <translation>Mode test : déplacer plutôt les éléments vers ~/Desktop/Sapperlode</translation>
    </message>
    <message>
        <source>Trash items are moved there, not deleted, until Brindlewick quits; test mode is off at the next start.</source>
        <translation>Les éléments y sont déplacés, pas supprimés, jusqu&apos;à ce que Brindlewick quitte ; le mode test est désactivé au prochain démarrage.</translation>
    </message>
    <message>
        <source>Start Brindlewick when I log in</source>
        <translation>Lancer Brindlewick à la connexion</translation>
    </message>
    <message>
        <source>Tell me when trash items are deleted</source>
        <translation>Me prévenir quand des éléments de la corbeille sont supprimés</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Unit of the minimum free space</source>
        <translation>Unité de l’espace libre minimal</translation>
    </message>
    <message>
        <source>More rules, for every trash (0: off)</source>
        <translation>Autres règles, pour chaque corbeille (0 : désactivé)</translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation>Supprimer les éléments mis à la corbeille il y a plus de :</translation>
    </message>
    <message>
        <source>Age limit in days</source>
        <translation>Limite d’âge en jours</translation>
    </message>
    <message>
        <source>days ago</source>
        <translation>jours</translation>
    </message>
    <message>
        <source>Keep each trash under:</source>
        <translation>Garder chaque corbeille sous :</translation>
    </message>
    <message>
        <source>Largest share of its volume a trash may hold</source>
        <translation>Part maximale de son volume qu’une corbeille peut occuper</translation>
    </message>
    <message>
        <source>% of its volume</source>
        <translation>% de son volume</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Date Trashed</source>
        <translation>Date de mise à la corbeille</translation>
    </message>
    <message>
        <source>Original Location</source>
        <translation>Emplacement d’origine</translation>
    </message>
    <message>
        <source>Trash items</source>
        <translation>Éléments de la corbeille</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>bw::QtAlertPresenter</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>bw::qt::HistoryTableModel</name>
    <message>
        <source>Deleted</source>
        <translation>Supprimé</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motif</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Résultat</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Trashed</source>
        <translation>Mis à la corbeille</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Corbeille</translation>
    </message>
    <message>
        <source>Original location</source>
        <translation>Emplacement d’origine</translation>
    </message>
    <message>
        <source>Path in the trash</source>
        <translation>Chemin dans la corbeille</translation>
    </message>
</context>
<context>
    <name>bw::qt::QtStatusItem</name>
    <message>
        <source>Trash: %1</source>
        <translation>Corbeille : %1</translation>
    </message>
    <message>
        <source>Free space: %1 (minimum %2)</source>
        <translation>Espace libre : %1 (minimum %2)</translation>
    </message>
</context>
</TS>
