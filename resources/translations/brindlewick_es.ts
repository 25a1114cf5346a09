<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Brindlewick</name>
    <message>
        <source>StartEmpty</source>
        <translation>Vaciar las papeleras ahora</translation>
    </message>
    <message>
        <source>StopEmpty</source>
        <translation>Detener el vaciado</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>NoteSelect</source>
        <translation>Elija los elementos de la papelera que desea eliminar. Se destruyen al instante y no se pueden restaurar.</translation>
    </message>
    <message>
        <source>DeleteChosenTitle</source>
        <translation>Eliminar los elementos elegidos de la papelera</translation>
    </message>
    <message>
        <source>HomeTrash</source>
        <translation>Papelera personal</translation>
    </message>
    <message>
        <source>KindFolder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>KindFile</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>KindLink</source>
        <translation>Enlace simbólico</translation>
    </message>
    <message>
        <source>KindOther</source>
        <translation>Archivo especial</translation>
    </message>
    <message>
        <source>FileMoveError</source>
        <translation>No se pudo mover el elemento a la carpeta de prueba.</translation>
    </message>
    <message>
        <source>FileDeleteError</source>
        <translation>No se pudo quitar el elemento.</translation>
    </message>
    <message>
        <source>FileRenameError</source>
        <translation>No se pudo renombrar el elemento antes de quitarlo.</translation>
    </message>
    <message>
        <source>FileWriteError</source>
        <translation>No se pudo sobrescribir el contenido del elemento.</translation>
    </message>
    <message>
        <source>ResWriteError</source>
        <translation>No se pudo sobrescribir la bifurcación de recursos del elemento.</translation>
    </message>
    <message>
        <source>TrashErrorInfo</source>
        <translation>Este elemento se queda en la papelera; los demás elementos, si los hay, se eliminan igualmente. Compruebe sus permisos y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>TrashError</source>
        <translation>No se pudo vaciar la papelera</translation>
    </message>
    <message>
        <source>Understand</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Standingby</source>
        <translation>En espera</translation>
    </message>
    <message>
        <source>Deleteing</source>
        <translation>Eliminando</translation>
    </message>
    <message>
        <source>Measureing</source>
        <translation>Midiendo</translation>
    </message>
    <message>
        <source>Canceling</source>
        <translation>Cancelando</translation>
    </message>
    <message>
        <source>AutoDeleteOff</source>
        <translation>La eliminación automática está desactivada (espacio libre mínimo 0 %)</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Usado</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papelera</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>Delete Copied Trash Items</source>
        <translation>Eliminar los elementos copiados de la papelera</translation>
    </message>
    <message>
        <source>Choose Trash Items to Delete…</source>
        <translation>Elegir elementos de la papelera para eliminar…</translation>
    </message>
    <message>
        <source>Trash Information…</source>
        <translation>Información de la papelera…</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Preferencias…</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Comprobar ahora</translation>
    </message>
    <message>
        <source>Quit Brindlewick</source>
        <translation>Salir de Brindlewick</translation>
    </message>
    <message>
        <source>No auto delete operation.</source>
        <translation>Ninguna eliminación automática.</translation>
    </message>
    <message>
        <source>Last automatic deletion: %1</source>
        <translation>Última eliminación automática: %1</translation>
    </message>
    <message>
        <source>Trash is empty condition</source>
        <translation>La papelera está vacía</translation>
    </message>
    <message>
        <source>Watching trash condition</source>
        <translation>Vigilando la papelera</translation>
    </message>
    <message>
        <source>Shredding trash files</source>
        <translation>Destruyendo elementos de la papelera</translation>
    </message>
    <message>
        <source>Measuring trash condition</source>
        <translation>Midiendo la papelera</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Shred %1 trash item?</source>
        <translation>¿Destruir %1 elemento de la papelera?</translation>
    </message>
    <message>
        <source>Shred %1 trash items?</source>
        <translation>¿Destruir %1 elementos de la papelera?</translation>
    </message>
    <message>
        <source>%1 will be overwritten and removed. This cannot be undone.</source>
        <translation>Se sobrescribirán y quitarán %1. No se puede deshacer.</translation>
    </message>
    <message>
        <source>Shred</source>
        <translation>Destruir</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>No volver a preguntar</translation>
    </message>
    <message>
        <source>NotAnswering</source>
        <translation>No responde</translation>
    </message>
    <message>
        <source>RemovedWithoutOverwriting</source>
        <translation>los elementos se quitan sin sobrescribirlos (volumen de copia en escritura)</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation>Leyendo el historial…</translation>
    </message>
    <message>
        <source>No deletions recorded yet.</source>
        <translation>Aún no hay eliminaciones registradas.</translation>
    </message>
    <message>
        <source>%1 deletion</source>
        <translation>%1 eliminación</translation>
    </message>
    <message>
        <source>%1 deletions</source>
        <translation>%1 eliminaciones</translation>
    </message>
    <message>
        <source>%1 of %2 deletion</source>
        <translation>%1 de %2 eliminación</translation>
    </message>
    <message>
        <source>%1 of %2 deletions</source>
        <translation>%1 de %2 eliminaciones</translation>
    </message>
    <message>
        <source>Trash items could not be removed</source>
        <translation>No se pudieron quitar elementos de la papelera</translation>
    </message>
    <message>
        <source>No authentication agent is running to ask for an administrator&apos;s password.</source>
        <translation>No hay ningún agente de autenticación en marcha que pida la contraseña de un administrador.</translation>
    </message>
    <message>
        <source>The administrator&apos;s authorization was refused.</source>
        <translation>Se denegó la autorización del administrador.</translation>
    </message>
    <message>
        <source>The permission repair could not be started.</source>
        <translation>No se pudo iniciar la reparación de permisos.</translation>
    </message>
    <message>
        <source>The permission repair failed:</source>
        <translation>La reparación de permisos falló:</translation>
    </message>
    <message>
        <source>Nothing: the trash is empty</source>
        <translation>Nada: la papelera está vacía</translation>
    </message>
    <message>
        <source>trashed on %1</source>
        <translation>enviado a la papelera el %1</translation>
    </message>
    <message>
        <source>trashed on an unknown day</source>
        <translation>enviado a la papelera en una fecha desconocida</translation>
    </message>
    <message>
        <source>goes at the next check (%1)</source>
        <translation>se elimina en la próxima comprobación (%1)</translation>
    </message>
    <message>
        <source>no rule wants it gone yet</source>
        <translation>ninguna regla pide aún eliminarlo</translation>
    </message>
    <message>
        <source>off (default)</source>
        <translation>desactivado (predeterminado)</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation>%1 (predeterminado)</translation>
    </message>
    <message>
        <source>Each value must be a number, or empty for the default.</source>
        <translation>Cada valor debe ser un número, o vacío para el valor predeterminado.</translation>
    </message>
    <message>
        <source>The minimum free space must be a number from %1 to %2 %.</source>
        <translation>El espacio libre mínimo debe ser un número de %1 a %2 %.</translation>
    </message>
    <message>
        <source>The minimum free space must be a size of %1 or more.</source>
        <translation>El espacio libre mínimo debe ser un tamaño de %1 o más.</translation>
    </message>
    <message>
        <source>The minimum free space must be a size above %1.</source>
        <translation>El espacio libre mínimo debe ser un tamaño mayor que %1.</translation>
    </message>
    <message>
        <source>The age limit must be a number of days from %1 (off) to %2.</source>
        <translation>El límite de antigüedad debe ser un número de días de %1 (desactivado) a %2.</translation>
    </message>
    <message>
        <source>The trash&apos;s share of its volume must be a number from %1 (off) to %2 %.</source>
        <translation>La parte de su volumen que ocupa la papelera debe ser un número de %1 (desactivado) a %2 %.</translation>
    </message>
    <message>
        <source>The check interval must be a number of seconds from %1 to %2 (one day).</source>
        <translation>El intervalo de comprobación debe ser un número de segundos de %1 a %2 (un día).</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>Historial…</translation>
    </message>
    <message>
        <source>FileBusyError</source>
        <translation>Hay un sistema de archivos montado en el elemento o dentro de él; el elemento no se puede quitar mientras esté montado.</translation>
    </message>
    <message>
        <source>TrashBusyInfo</source>
        <translation>Este elemento se queda en la papelera. Desmonte lo que esté montado en él o dentro de él y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>Trash items deleted</source>
        <translation>Elementos de la papelera eliminados</translation>
    </message>
    <message>
        <source>Trash emptied</source>
        <translation>Papelera vaciada</translation>
    </message>
    <message>
        <source>Emptying stopped</source>
        <translation>Vaciado detenido</translation>
    </message>
    <message>
        <source>Could not delete 1 item</source>
        <translation>No se pudo eliminar 1 elemento</translation>
    </message>
    <message>
        <source>Could not delete %1 items</source>
        <translation>No se pudieron eliminar %1 elementos</translation>
    </message>
    <message>
        <source>%1 and 1 more</source>
        <translation>%1 y 1 más</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 y %2 más</translation>
    </message>
    <message>
        <source>Deleted 1 item (%1)</source>
        <translation>1 elemento eliminado (%1)</translation>
    </message>
    <message>
        <source>Deleted %1 items (%2)</source>
        <translation>%1 elementos eliminados (%2)</translation>
    </message>
    <message>
        <source>%1 from the trash on %2</source>
        <translation>%1 de la papelera de %2</translation>
    </message>
    <message>
        <source>%1 from the trashes on %2</source>
        <translation>%1 de las papeleras de %2</translation>
    </message>
    <message>
        <source>free space</source>
        <translation>espacio libre</translation>
    </message>
    <message>
        <source>age</source>
        <translation>antigüedad</translation>
    </message>
    <message>
        <source>size cap</source>
        <translation>tamaño máximo</translation>
    </message>
    <message>
        <source>forced emptying</source>
        <translation>vaciado forzado</translation>
    </message>
    <message>
        <source>chosen items</source>
        <translation>elementos elegidos</translation>
    </message>
    <message>
        <source>command line</source>
        <translation>línea de órdenes</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>desconocido</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>eliminado</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fallido</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>fallido: %1</translation>
    </message>
    <message>
        <source>not deleted: %1</source>
        <translation>no eliminado: %1</translation>
    </message>
    <message>
        <source>The history cannot be read: %1</source>
        <translation>No se puede leer el historial: %1</translation>
    </message>
    <message>
        <source>No deletions recorded.</source>
        <translation>No hay eliminaciones registradas.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Trashed on</source>
        <translation>Enviado a la papelera</translation>
    </message>
    <message>
        <source>Original location</source>
        <translation>Ubicación original</translation>
    </message>
    <message>
        <source>The history %1 cannot be read: %2</source>
        <translation>No se puede leer el historial %1: %2</translation>
    </message>
    <message>
        <source>--since wants a date such as 2026-12-01 or 2026-12-01T08:30, not %1</source>
        <translation>--since espera una fecha como 2026-12-01 o 2026-12-01T08:30, no %1</translation>
    </message>
    <message>
        <source>TRASH</source>
        <translation>PAPELERA</translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation>PUNTO DE MONTAJE</translation>
    </message>
    <message>
        <source>ITEMS</source>
        <translation>ELEMENTOS</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>TAMAÑO</translation>
    </message>
    <message>
        <source>FREE</source>
        <translation>LIBRE</translation>
    </message>
    <message>
        <source>MINIMUM</source>
        <translation>MÍNIMO</translation>
    </message>
    <message>
        <source>STATE</source>
        <translation>ESTADO</translation>
    </message>
    <message>
        <source>standing by</source>
        <translation>en espera</translation>
    </message>
    <message>
        <source>deleting</source>
        <translation>eliminando</translation>
    </message>
    <message>
        <source>measuring</source>
        <translation>midiendo</translation>
    </message>
    <message>
        <source>canceling</source>
        <translation>cancelando</translation>
    </message>
    <message>
        <source>short of space</source>
        <translation>falta espacio</translation>
    </message>
    <message>
        <source>not answering</source>
        <translation>no responde</translation>
    </message>
    <message>
        <source>removed without overwriting (copy-on-write)</source>
        <translation>se quita sin sobrescribir (copia en escritura)</translation>
    </message>
    <message>
        <source>Last automatic deletion: none</source>
        <translation>Última eliminación automática: ninguna</translation>
    </message>
    <message>
        <source>A deletion pass is running.</source>
        <translation>Hay una pasada de eliminación en curso.</translation>
    </message>
    <message>
        <source>No deletion pass is running.</source>
        <translation>No hay ninguna pasada de eliminación en curso.</translation>
    </message>
    <message>
        <source>Nothing would be deleted now.</source>
        <translation>Ahora no se eliminaría nada.</translation>
    </message>
    <message>
        <source>Watches the trashes and shreds their oldest items when a volume runs short of space.
Without options it starts the tray program; with one, it asks the running program,
or does the work itself when none runs.</source>
        <translation>Vigila las papeleras y destruye sus elementos más antiguos cuando a un volumen le falta espacio.
Sin opciones inicia el programa de la bandeja del sistema; con una, se lo pide al programa en marcha,
o hace el trabajo él mismo cuando no hay ninguno en marcha.</translation>
    </message>
    <message>
        <source>Show every trash and its volume.</source>
        <translation>Mostrar cada papelera y su volumen.</translation>
    </message>
    <message>
        <source>With --status or --history: JSON.</source>
        <translation>Con --status o --history: JSON.</translation>
    </message>
    <message>
        <source>The running program checks now.</source>
        <translation>El programa en marcha comprueba ahora.</translation>
    </message>
    <message>
        <source>Shred every item of every trash.</source>
        <translation>Destruir todos los elementos de todas las papeleras.</translation>
    </message>
    <message>
        <source>With --empty-now: do not ask first.</source>
        <translation>Con --empty-now: no preguntar antes.</translation>
    </message>
    <message>
        <source>Stop the running deletion pass.</source>
        <translation>Detener la pasada de eliminación en curso.</translation>
    </message>
    <message>
        <source>List the recorded deletions.</source>
        <translation>Listar las eliminaciones registradas.</translation>
    </message>
    <message>
        <source>With --history: only deletions from DATE on (ISO 8601).</source>
        <translation>Con --history: solo las eliminaciones desde DATE (ISO 8601).</translation>
    </message>
    <message>
        <source>Alone: start the tray program with trace lines in its log.</source>
        <translation>Sola: iniciar el programa de la bandeja con líneas de traza en su registro.</translation>
    </message>
    <message>
        <source>With --check-now or --empty-now: list what would go, in order, and delete nothing.</source>
        <translation>Con --check-now o --empty-now: listar en orden lo que se eliminaría, sin eliminar nada.</translation>
    </message>
    <message>
        <source>Try &apos;brindlewick --help&apos;.</source>
        <translation>Pruebe &apos;brindlewick --help&apos;.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argumento inesperado: %1</translation>
    </message>
    <message>
        <source>Give one of --status, --check-now, --empty-now, --stop and --history.</source>
        <translation>Indique una sola de --status, --check-now, --empty-now, --stop y --history.</translation>
    </message>
    <message>
        <source>--json goes with --status or --history.</source>
        <translation>--json va con --status o --history.</translation>
    </message>
    <message>
        <source>--since goes with --history.</source>
        <translation>--since va con --history.</translation>
    </message>
    <message>
        <source>--yes goes with --empty-now.</source>
        <translation>--yes va con --empty-now.</translation>
    </message>
    <message>
        <source>--dry-run goes with --check-now or --empty-now.</source>
        <translation>--dry-run va con --check-now o --empty-now.</translation>
    </message>
    <message>
        <source>Brindlewick runs but did not answer</source>
        <translation>Brindlewick está en marcha pero no respondió</translation>
    </message>
    <message>
        <source>Brindlewick is not running</source>
        <translation>Brindlewick no está en marcha</translation>
    </message>
    <message>
        <source>--empty-now asks before it deletes and there is no terminal to ask on; give --yes.</source>
        <translation>--empty-now pregunta antes de eliminar y no hay terminal donde preguntar; indique --yes.</translation>
    </message>
    <message>
        <source>Shred %1 items (%2) from every trash? They cannot be brought back. [y/N] </source>
        <translation>¿Destruir %1 elementos (%2) de todas las papeleras? No se podrán recuperar. [y/N] </translation>
    </message>
    <message>
        <source>The trashes are empty.</source>
        <translation>Las papeleras están vacías.</translation>
    </message>
    <message>
        <source>Nothing was deleted.</source>
        <translation>No se eliminó nada.</translation>
    </message>
    <message>
        <source>The running program empties the trashes now.</source>
        <translation>El programa en marcha vacía ahora las papeleras.</translation>
    </message>
    <message>
        <source>%1 items left, %2 freed</source>
        <translation>quedan %1 elementos, %2 liberados</translation>
    </message>
    <message>
        <source>%1 items deleted (%2), %3 failed</source>
        <translation>%1 elementos eliminados (%2), %3 fallidos</translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>Detenido: %1</translation>
    </message>
    <message>
        <source>The running program checks the trashes now.</source>
        <translation>El programa en marcha comprueba ahora las papeleras.</translation>
    </message>
    <message>
        <source>No deletion pass was running.</source>
        <translation>No había ninguna pasada de eliminación en curso.</translation>
    </message>
    <message>
        <source>The running deletion pass stops.</source>
        <translation>La pasada de eliminación en curso se detiene.</translation>
    </message>
    <message>
        <source>The output could not be written: %1</source>
        <translation>No se pudo escribir la salida: %1</translation>
    </message>
    <message>
        <source>%1; 1 item could not be deleted</source>
        <translation>%1; no se pudo eliminar 1 elemento</translation>
    </message>
    <message>
        <source>%1; %2 items could not be deleted</source>
        <translation>%1; no se pudieron eliminar %2 elementos</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
    <message>
        <source>Shred 1 item (%2) from every trash? It cannot be brought back. [y/N] </source>
        <translation>¿Destruir 1 elemento (%2) de todas las papeleras? No se podrá recuperar. [y/N] </translation>
    </message>
    <message>
        <source>1 item left, %2 freed</source>
        <translation>queda 1 elemento, %2 liberados</translation>
    </message>
    <message>
        <source>1 item deleted (%2), %3 failed</source>
        <translation>1 elemento eliminado (%2), %3 fallidos</translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Deletion History</source>
        <translation>Historial de eliminaciones</translation>
    </message>
    <message>
        <source>Filter by any text: a name, a folder, a trash, a reason</source>
        <translation>Filtrar por cualquier texto: nombre, carpeta, papelera, motivo</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>InfoPanel</name>
    <message>
        <source>Trash Information</source>
        <translation>Información de la papelera</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volumen:</translation>
    </message>
    <message>
        <source>Measuring the trash</source>
        <translation>Midiendo la papelera</translation>
    </message>
    <message>
        <source>Space on this volume</source>
        <translation>Espacio en este volumen</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Capacidad:</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Used by other data:</source>
        <translation>Usado por otros datos:</translation>
    </message>
    <message>
        <source>In the trash:</source>
        <translation>En la papelera:</translation>
    </message>
    <message>
        <source>Free:</source>
        <translation>Libre:</translation>
    </message>
    <message>
        <source>Deleting:</source>
        <translation>Eliminando:</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Comprobar ahora</translation>
    </message>
    <message>
        <source>Run the trash check at once</source>
        <translation>Comprobar las papeleras enseguida</translation>
    </message>
    <message>
        <source>Measure Anew</source>
        <translation>Medir de nuevo</translation>
    </message>
    <message>
        <source>Measure the whole trash again</source>
        <translation>Medir de nuevo toda la papelera</translation>
    </message>
    <message>
        <source>Measure Changes</source>
        <translation>Medir los cambios</translation>
    </message>
    <message>
        <source>Measure only what changed in the trash</source>
        <translation>Medir solo lo que cambió en la papelera</translation>
    </message>
    <message>
        <source>Stop Emptying</source>
        <translation>Detener el vaciado</translation>
    </message>
    <message>
        <source>Stop the emptying that runs; what is left stays in the trash</source>
        <translation>Detener el vaciado en curso; lo que queda se mantiene en la papelera</translation>
    </message>
    <message>
        <source>Empty This Trash</source>
        <translation>Vaciar esta papelera</translation>
    </message>
    <message>
        <source>Delete every item in this volume&apos;s trash now</source>
        <translation>Eliminar ahora todos los elementos de la papelera de este volumen</translation>
    </message>
    <message>
        <source>Next to go:</source>
        <translation>Próximo en irse:</translation>
    </message>
    <message>
        <source>This volume&apos;s own rules (empty: the default)</source>
        <translation>Reglas propias de este volumen (vacío: el valor predeterminado)</translation>
    </message>
    <message>
        <source>Minimum free space:</source>
        <translation>Espacio libre mínimo:</translation>
    </message>
    <message>
        <source>Minimum free space of this volume, percent</source>
        <translation>Espacio libre mínimo de este volumen, en porcentaje</translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation>% de la capacidad</translation>
    </message>
    <message>
        <source>or as a size:</source>
        <translation>o como tamaño:</translation>
    </message>
    <message>
        <source>Minimum free space of this volume, gigabytes</source>
        <translation>Espacio libre mínimo de este volumen, en gigabytes</translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation>Eliminar los elementos enviados a la papelera hace más de:</translation>
    </message>
    <message>
        <source>Age limit of this volume, days</source>
        <translation>Límite de antigüedad de este volumen, en días</translation>
    </message>
    <message>
        <source>days ago</source>
        <translation>días</translation>
    </message>
    <message>
        <source>Trash at most:</source>
        <translation>Papelera como máximo:</translation>
    </message>
    <message>
        <source>Largest share of this volume its trash may hold</source>
        <translation>Mayor parte de este volumen que puede ocupar su papelera</translation>
    </message>
    <message>
        <source>% of the volume</source>
        <translation>% del volumen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
</context>
<context>
    <name>PrefsPanel</name>
    <message>
        <source>Brindlewick Preferences</source>
        <translation>Preferencias de Brindlewick</translation>
    </message>
    <message>
        <source>Free space on the startup volume</source>
        <translation>Espacio libre en el volumen de arranque</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Capacidad:</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Keep at least this much free:</source>
        <translation>Mantener libre al menos:</translation>
    </message>
    <message>
        <source>One percent more</source>
        <translation>Un uno por ciento más</translation>
    </message>
    <message>
        <source>One percent less</source>
        <translation>Un uno por ciento menos</translation>
    </message>
    <message>
        <source>% of the capacity</source>
        <translation>% de la capacidad</translation>
    </message>
    <message>
        <source>The startup volume already has less free space than this: the next check will start deleting trash items.</source>
        <translation>El volumen de arranque ya tiene menos espacio libre: la próxima comprobación empezará a eliminar elementos de la papelera.</translation>
    </message>
    <message>
        <source>The trash may grow to:</source>
        <translation>La papelera puede crecer hasta:</translation>
    </message>
    <message>
        <source>GB before its oldest items are deleted</source>
        <translation>GB antes de que se eliminen sus elementos más antiguos</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Comprobación</translation>
    </message>
    <message>
        <source>Check the trashes every:</source>
        <translation>Comprobar las papeleras cada:</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>segundos</translation>
    </message>
    <message>
        <source>Checking more often than once a minute keeps the disks busy.</source>
        <translation>Comprobar más de una vez por minuto mantiene ocupados los discos.</translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation>Eliminación</translation>
    </message>
    <message>
        <source>Remove files without overwriting them first</source>
        <translation>Quitar los archivos sin sobrescribirlos antes</translation>
    </message>
    <message>
        <source>Removed files can then be brought back with recovery tools.</source>
        <translation>Los archivos quitados se podrán recuperar con herramientas de recuperación.</translation>
    </message>
    <message>
        <source>Remove files without renaming them first</source>
        <translation>Quitar los archivos sin renombrarlos antes</translation>
    </message>
    <message>
        <source>The names of removed files may then still be read from the disk.</source>
        <translation>Los nombres de los archivos quitados aún se podrán leer en el disco.</translation>
    </message>
    <message>
        <source>Ask before shredding</source>
        <translation>Preguntar antes de destruir</translation>
    </message>
    <message>
        <source>Ask before a menu command or the information panel shreds trash items</source>
        <translation>Preguntar antes de que una orden del menú o el panel de información destruya elementos</translation>
    </message>
    <message>
        <source>Test mode: move trash items to ~/Desktop/Sapperlode instead</source>
        <translation>Modo de prueba: mover los elementos a ~/Desktop/Sapperlode en su lugar</translation>
    </message>
    <message>
        <source>Trash items are moved there, not deleted, until Brindlewick quits; test mode is off at the next start.</source>
        <translation>Los elementos se mueven allí, no se eliminan, hasta que Brindlewick termine; el modo de prueba se desactiva en el siguiente inicio.</translation>
    </message>
    <message>
        <source>Start Brindlewick when I log in</source>
        <translation>Iniciar Brindlewick al iniciar sesión</translation>
    </message>
    <message>
        <source>Tell me when trash items are deleted</source>
        <translation>Avisarme cuando se eliminen elementos de la papelera</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Unit of the minimum free space</source>
        <translation>Unidad del espacio libre mínimo</translation>
    </message>
    <message>
        <source>More rules, for every trash (0: off)</source>
        <translation>Más reglas, para cada papelera (0: desactivado)</translation>
    </message>
    <message>
        <source>Delete items trashed more than:</source>
        <translation>Eliminar los elementos enviados a la papelera hace más de:</translation>
    </message>
    <message>
        <source>Age limit in days</source>
        <translation>Límite de antigüedad en días</translation>
    </message>
    <message>
        <source>days ago</source>
        <translation>días</translation>
    </message>
    <message>
        <source>Keep each trash under:</source>
        <translation>Mantener cada papelera por debajo de:</translation>
    </message>
    <message>
        <source>Largest share of its volume a trash may hold</source>
        <translation>Mayor parte de su volumen que puede ocupar una papelera</translation>
    </message>
    <message>
        <source>% of its volume</source>
        <translation>% de su volumen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Date Trashed</source>
        <translation>Fecha de envío a la papelera</translation>
    </message>
    <message>
        <source>Original Location</source>
        <translation>Ubicación original</translation>
    </message>
    <message>
        <source>Trash items</source>
        <translation>Elementos de la papelera</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>bw::QtAlertPresenter</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>bw::qt::HistoryTableModel</name>
    <message>
        <source>Deleted</source>
        <translation>Eliminado</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Trashed</source>
        <translation>Enviado a la papelera</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papelera</translation>
    </message>
    <message>
        <source>Original location</source>
        <translation>Ubicación original</translation>
    </message>
    <message>
        <source>Path in the trash</source>
        <translation>Ruta en la papelera</translation>
    </message>
</context>
<context>
    <name>bw::qt::QtStatusItem</name>
    <message>
        <source>Trash: %1</source>
        <translation>Papelera: %1</translation>
    </message>
    <message>
        <source>Free space: %1 (minimum %2)</source>
        <translation>Espacio libre: %1 (mínimo %2)</translation>
    </message>
</context>
</TS>
