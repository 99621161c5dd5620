<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en">
<context>
    <name>app::AddressBox</name>
    <message>
        <source>The remote site in use: &quot;0.0.0.0&quot; means the serial port; choose a site with &lt;=&gt;</source>
        <translation>Il sito remoto in uso: &quot;0.0.0.0&quot; indica la porta seriale; scegliere un sito con &lt;=&gt;</translation>
    </message>
</context>
<context>
    <name>app::LinkStatusBar</name>
    <message>
        <source>Link status</source>
        <translation>Stato del collegamento</translation>
    </message>
    <message>
        <source>The channel to the switcher and its state: the serial port with its device and settings, or the remote site&apos;s gateway. Green: open and answering; amber: no answer yet, or an answer from before; red: closed, lost or not resolving.</source>
        <translation>Il canale verso la matrice e il suo stato: la porta seriale con dispositivo e impostazioni, o il gateway del sito remoto. Verde: aperto e risponde; ambra: ancora nessuna risposta, o una risposta precedente; rosso: chiuso, perso o non risolto.</translation>
    </message>
    <message>
        <source>When the switcher last reported its routing (the green buttons), and from where; a status request with no reply within 2 s is named here.</source>
        <translation>Quando la matrice ha comunicato l&apos;ultima volta il suo instradamento (i pulsanti verdi), e da dove; qui compare una richiesta di stato senza risposta entro 2 s.</translation>
    </message>
    <message>
        <source>Ask status</source>
        <translation>Richiedi stato</translation>
    </message>
    <message>
        <source>Asks the switcher for its routing now (F5)</source>
        <translation>Chiede subito alla matrice il suo instradamento (F5)</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Traffico</translation>
    </message>
    <message>
        <source>Every frame on both channels, timed and explained (Ctrl+T)</source>
        <translation>Ogni pacchetto su entrambi i canali, con ora e significato (Ctrl+T)</translation>
    </message>
    <message>
        <source>the port is closed</source>
        <translation>la porta è chiusa</translation>
    </message>
    <message>
        <source>the port is lost</source>
        <translation>la porta è persa</translation>
    </message>
    <message>
        <source>the port&apos;s device is missing</source>
        <translation>manca il dispositivo della porta</translation>
    </message>
    <message>
        <source>Not sent: %1</source>
        <translation>Non inviato: %1</translation>
    </message>
    <message>
        <source>Not sent for %1: %2</source>
        <translation>Non inviato per %1: %2</translation>
    </message>
    <message>
        <source>Monitor %1 is locked by %2</source>
        <translation>Il monitor %1 è bloccato da %2</translation>
    </message>
    <message>
        <source>Camera %1 is controlled by %2</source>
        <translation>La telecamera %1 è comandata da %2</translation>
    </message>
    <message>
        <source>The camera is controlled by %1</source>
        <translation>La telecamera è comandata da %1</translation>
    </message>
    <message>
        <source>Not done: %1 did not finish in time</source>
        <translation>Non eseguito: %1 non ha finito in tempo</translation>
    </message>
    <message>
        <source>Not done: a preset sequence is running</source>
        <translation>Non eseguito: è in corso una sequenza di preset</translation>
    </message>
    <message>
        <source>Monitor %1 &lt;- camera %2 by %3</source>
        <translation>Monitor %1 &lt;- telecamera %2 da %3</translation>
    </message>
    <message>
        <source>Control room</source>
        <translation>Sala controllo</translation>
    </message>
    <message>
        <source>Who holds each monitor&apos;s lock and drives each camera (F2)</source>
        <translation>Chi blocca ogni monitor e comanda ogni telecamera (F2)</translation>
    </message>
</context>
<context>
    <name>app::SessionRouter</name>
    <message>
        <source>Monitor %1</source>
        <translation>Monitor %1</translation>
    </message>
</context>
<context>
    <name>app::TrafficModel</name>
    <message>
        <source>Time</source>
        <translation>Ora</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direzione</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Canale</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Significato</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>inviato</translation>
    </message>
    <message>
        <source>received</source>
        <translation>ricevuto</translation>
    </message>
    <message>
        <source>ignored</source>
        <translation>ignorato</translation>
    </message>
    <message>
        <source>not sent</source>
        <translation>non inviato</translation>
    </message>
    <message>
        <source>state</source>
        <translation>stato</translation>
    </message>
</context>
<context>
    <name>app::frmControlRoom</name>
    <message>
        <source>Control Room</source>
        <translation>Sala controllo</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Telecamera</translation>
    </message>
    <message>
        <source>Locked by</source>
        <translation>Bloccato da</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titolo</translation>
    </message>
    <message>
        <source>Driven by</source>
        <translation>Comandata da</translation>
    </message>
    <message>
        <source>Monitors, their cameras and locks</source>
        <translation>Monitor, le loro telecamere e i blocchi</translation>
    </message>
    <message>
        <source>Cameras and who drives them</source>
        <translation>Telecamere e chi le comanda</translation>
    </message>
    <message>
        <source>&amp;Lock</source>
        <translation>&amp;Blocca</translation>
    </message>
    <message>
        <source>Locks the monitor chosen above for this panel (L after its number on the panel)</source>
        <translation>Blocca per questo pannello il monitor scelto sopra (L dopo il suo numero sul pannello)</translation>
    </message>
    <message>
        <source>&amp;Unlock</source>
        <translation>&amp;Sblocca</translation>
    </message>
    <message>
        <source>Unlocks the monitor chosen above</source>
        <translation>Sblocca il monitor scelto sopra</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 (not confirmed)</source>
        <translation>%1 (non confermato)</translation>
    </message>
    <message>
        <source>not known</source>
        <translation>non noto</translation>
    </message>
    <message>
        <source>free</source>
        <translation>libero</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>nessuno</translation>
    </message>
    <message>
        <source>Tour</source>
        <translation>Tour</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Allarme</translation>
    </message>
    <message>
        <source>&amp;Start tour</source>
        <translation>&amp;Avvia tour</translation>
    </message>
    <message>
        <source>&amp;Hold</source>
        <translation>&amp;Ferma</translation>
    </message>
    <message>
        <source>&amp;Next step</source>
        <translation>Passo &amp;successivo</translation>
    </message>
    <message>
        <source>&amp;Previous step</source>
        <translation>Passo &amp;precedente</translation>
    </message>
    <message>
        <source>S&amp;top tour</source>
        <translation>&amp;Termina tour</translation>
    </message>
    <message>
        <source>Starts the tour of the monitor chosen above, or resumes it (T after its number)</source>
        <translation>Avvia il tour del monitor scelto sopra, o lo riprende (T dopo il suo numero)</translation>
    </message>
    <message>
        <source>Holds the tour on its step (H after its number)</source>
        <translation>Ferma il tour sul suo passo (H dopo il suo numero)</translation>
    </message>
    <message>
        <source>One step on (N after its number)</source>
        <translation>Un passo avanti (N dopo il suo numero)</translation>
    </message>
    <message>
        <source>One step back (B after its number)</source>
        <translation>Un passo indietro (B dopo il suo numero)</translation>
    </message>
    <message>
        <source>Stops the tour (X after its number)</source>
        <translation>Termina il tour (X dopo il suo numero)</translation>
    </message>
    <message>
        <source>Ac&amp;knowledge</source>
        <translation>&amp;Conferma</translation>
    </message>
    <message>
        <source>Acknowledges the alarm shown on the monitor chosen above (A after its input&apos;s number, or A alone)</source>
        <translation>Conferma l&apos;allarme mostrato sul monitor scelto sopra (A dopo il numero del suo ingresso, o A da sola)</translation>
    </message>
    <message>
        <source>&amp;Automation...</source>
        <translation>A&amp;utomazione...</translation>
    </message>
    <message>
        <source>Salvos, tours, alarm inputs and schedules (automation.ini)</source>
        <translation>Salvo, tour, ingressi di allarme e orari (automation.ini)</translation>
    </message>
    <message>
        <source>%1: held on step %2 of %3</source>
        <translation>%1: fermo al passo %2 di %3</translation>
    </message>
    <message>
        <source>%1: step %2 of %3</source>
        <translation>%1: passo %2 di %3</translation>
    </message>
    <message>
        <source>%1 shown</source>
        <translation>%1 mostrato</translation>
    </message>
    <message>
        <source>%1 waiting</source>
        <translation>%1 in attesa</translation>
    </message>
    <message>
        <source>%1, seen</source>
        <translation>%1, confermato</translation>
    </message>
    <message>
        <source>%1, cleared</source>
        <translation>%1, cessato</translation>
    </message>
</context>
<context>
    <name>app::frmKeys</name>
    <message>
        <source>Keys</source>
        <translation>Tasti</translation>
    </message>
    <message>
        <source>1 to 4, then M or keypad /</source>
        <translation>Da 1 a 4, poi M o / del tastierino</translation>
    </message>
    <message>
        <source>Monitor n, as clicking its button</source>
        <translation>Monitor n, come un clic sul suo pulsante</translation>
    </message>
    <message>
        <source>1 to 16, then C, keypad * or keypad Enter</source>
        <translation>Da 1 a 16, poi C, * o Invio del tastierino</translation>
    </message>
    <message>
        <source>Camera n, as clicking its button</source>
        <translation>Telecamera n, come un clic sul suo pulsante</translation>
    </message>
    <message>
        <source>1 to 16, then P</source>
        <translation>Da 1 a 16, poi P</translation>
    </message>
    <message>
        <source>Recall preset n, as its button with &quot;Store Preset&quot; clear</source>
        <translation>Richiama il preset n (con &quot;Salva preset&quot; non spuntato)</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Backspace</translation>
    </message>
    <message>
        <source>Takes back the last digit</source>
        <translation>Cancella l&apos;ultima cifra</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Drops the number typed; so do 3 s without a key</source>
        <translation>Annulla il numero digitato; così anche 3 s senza tasti</translation>
    </message>
    <message>
        <source>Arrow keys, held</source>
        <translation>Frecce, tenute premute</translation>
    </message>
    <message>
        <source>Pan and tilt while held, as holding Left, Right, Up, Down</source>
        <translation>Come tenere premuti Sinistra, Destra, Su, Giù</translation>
    </message>
    <message>
        <source>Keypad + and -, held</source>
        <translation>Tastierino + e -, tenuti premuti</translation>
    </message>
    <message>
        <source>Zoom in and out while held</source>
        <translation>Zoom avanti e indietro finché premuti</translation>
    </message>
    <message>
        <source>Space, Enter</source>
        <translation>Spazio, Invio</translation>
    </message>
    <message>
        <source>Press the button that has the focus</source>
        <translation>Premono il pulsante selezionato</translation>
    </message>
    <message>
        <source>Tab, Shift+Tab</source>
        <translation>Tab, Maiusc+Tab</translation>
    </message>
    <message>
        <source>The next or the previous control</source>
        <translation>Il controllo successivo o precedente</translation>
    </message>
    <message>
        <source>Arrow keys on a speed bar</source>
        <translation>Frecce su una barra di velocità</translation>
    </message>
    <message>
        <source>Slower or faster</source>
        <translation>Più lento o più veloce</translation>
    </message>
    <message>
        <source>F6</source>
        <translation>F6</translation>
    </message>
    <message>
        <source>From the panel to the terminal box and back</source>
        <translation>Dal pannello al terminale e ritorno</translation>
    </message>
    <message>
        <source>In the terminal box</source>
        <translation>Nel terminale</translation>
    </message>
    <message>
        <source>Typed keys go out on the port, Tab and Ctrl+T too</source>
        <translation>I tasti digitati escono sulla porta, anche Tab e Ctrl+T</translation>
    </message>
    <message>
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message>
        <source>Asks the switcher for its routing now</source>
        <translation>Chiede subito alla matrice l&apos;instradamento</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>The traffic window, outside the terminal box</source>
        <translation>La finestra del traffico, fuori dal terminale</translation>
    </message>
    <message>
        <source>Alt + underlined letter</source>
        <translation>Alt + lettera sottolineata</translation>
    </message>
    <message>
        <source>Opens that menu</source>
        <translation>Apre quel menu</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>Questo elenco</translation>
    </message>
    <message>
        <source>Keys of the panel</source>
        <translation>Tasti del pannello</translation>
    </message>
    <message>
        <source>What they do</source>
        <translation>Cosa fanno</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
    <message>
        <source>1 to 4, then L</source>
        <translation>Da 1 a 4, poi L</translation>
    </message>
    <message>
        <source>Lock monitor n for this panel, or unlock it</source>
        <translation>Blocca il monitor n per questo pannello, o lo sblocca</translation>
    </message>
    <message>
        <source>F2</source>
        <translation>F2</translation>
    </message>
    <message>
        <source>The control room: who holds each monitor and camera</source>
        <translation>La sala controllo: chi tiene ogni monitor e telecamera</translation>
    </message>
    <message>
        <source>Number, then T, H, X</source>
        <translation>Numero, poi T, H, X</translation>
    </message>
    <message>
        <source>Start (or resume), hold or stop tour n</source>
        <translation>Avvia (o riprende), ferma o termina il tour n</translation>
    </message>
    <message>
        <source>Number, then N or B</source>
        <translation>Numero, poi N o B</translation>
    </message>
    <message>
        <source>Tour n one step on, or one step back</source>
        <translation>Tour n un passo avanti, o indietro</translation>
    </message>
    <message>
        <source>1 to 64, then A; A alone</source>
        <translation>Da 1 a 64, poi A; A da sola</translation>
    </message>
    <message>
        <source>Acknowledge alarm input n; alone, the alarm shown first</source>
        <translation>Conferma l&apos;ingresso di allarme n; da sola, il primo allarme mostrato</translation>
    </message>
</context>
<context>
    <name>app::frmTraffic</name>
    <message>
        <source>Traffic</source>
        <translation>Traffico</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pausa</translation>
    </message>
    <message>
        <source>Holds the list still; frames are still kept</source>
        <translation>Ferma l&apos;elenco; i pacchetti sono comunque conservati</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>Svuo&amp;ta</translation>
    </message>
    <message>
        <source>Empties the list</source>
        <translation>Svuota l&apos;elenco</translation>
    </message>
    <message>
        <source>Which channel is shown</source>
        <translation>Quale canale è mostrato</translation>
    </message>
    <message>
        <source>Both channels</source>
        <translation>Entrambi i canali</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriale</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Rete</translation>
    </message>
    <message>
        <source>Which direction is shown</source>
        <translation>Quale direzione è mostrata</translation>
    </message>
    <message>
        <source>Both directions</source>
        <translation>Entrambe le direzioni</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Inviati</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Ricevuti</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copia</translation>
    </message>
    <message>
        <source>Copies the selected rows as text (Ctrl+C)</source>
        <translation>Copia le righe selezionate come testo (Ctrl+C)</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>Sal&amp;va...</translation>
    </message>
    <message>
        <source>Saves the rows shown as text, or as CSV</source>
        <translation>Salva le righe mostrate come testo o come CSV</translation>
    </message>
    <message>
        <source>&amp;Live</source>
        <translation>&amp;In diretta</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Storico</translation>
    </message>
    <message>
        <source>Save Traffic</source>
        <translation>Salva traffico</translation>
    </message>
    <message>
        <source>Text (*.txt);;CSV (*.csv);;All Files (*)</source>
        <translation>Testo (*.txt);;CSV (*.csv);;Tutti i file (*)</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 esiste già. Sostituirlo?</translation>
    </message>
    <message>
        <source>The traffic could not be saved to %1: %2</source>
        <translation>Impossibile salvare il traffico in %1: %2</translation>
    </message>
</context>
<context>
    <name>automation::AlarmPage</name>
    <message>
        <source>Alarm inputs</source>
        <translation>Ingressi di allarme</translation>
    </message>
    <message>
        <source>&amp;New binding</source>
        <translation>&amp;Nuova associazione</translation>
    </message>
    <message>
        <source>&amp;Delete binding</source>
        <translation>&amp;Elimina associazione</translation>
    </message>
    <message>
        <source>Alarm &amp;input:</source>
        <translation>&amp;Ingresso di allarme:</translation>
    </message>
    <message>
        <source>Alarm input</source>
        <translation>Ingresso di allarme</translation>
    </message>
    <message>
        <source>&amp;Monitor:</source>
        <translation>&amp;Monitor:</translation>
    </message>
    <message>
        <source>Monitor the alarm calls up</source>
        <translation>Monitor su cui l&apos;allarme richiama la telecamera</translation>
    </message>
    <message>
        <source>C&amp;amera:</source>
        <translation>Telec&amp;amera:</translation>
    </message>
    <message>
        <source>Camera the alarm calls up</source>
        <translation>Telecamera che l&apos;allarme richiama</translation>
    </message>
    <message>
        <source>&amp;Preset:</source>
        <translation>&amp;Preset:</translation>
    </message>
    <message>
        <source>Preset the alarm recalls</source>
        <translation>Preset che l&apos;allarme richiama</translation>
    </message>
    <message>
        <source>- none</source>
        <translation>- nessuno</translation>
    </message>
    <message>
        <source>Alarm %1: camera %2 on monitor %3</source>
        <translation>Allarme %1: telecamera %2 sul monitor %3</translation>
    </message>
    <message>
        <source>Delete the binding of alarm %1?</source>
        <translation>Eliminare l&apos;associazione dell&apos;allarme %1?</translation>
    </message>
</context>
<context>
    <name>automation::AlarmServer</name>
    <message>
        <source>cannot make %1 (%2)</source>
        <translation>impossibile creare %1 (%2)</translation>
    </message>
    <message>
        <source>cannot read %1 (%2)</source>
        <translation>impossibile leggere %1 (%2)</translation>
    </message>
    <message>
        <source>%1 is not a folder of this user</source>
        <translation>%1 non è una cartella di questo utente</translation>
    </message>
    <message>
        <source>%1 may be entered by other users</source>
        <translation>%1 è accessibile ad altri utenti</translation>
    </message>
    <message>
        <source>cannot make %1</source>
        <translation>impossibile creare %1</translation>
    </message>
    <message>
        <source>no alarm socket: %1</source>
        <translation>nessun socket di allarme: %1</translation>
    </message>
    <message>
        <source>no alarm socket: another program answers on %1</source>
        <translation>nessun socket di allarme: un altro programma risponde su %1</translation>
    </message>
    <message>
        <source>no alarm socket: %1 is not a socket</source>
        <translation>nessun socket di allarme: %1 non è un socket</translation>
    </message>
    <message>
        <source>alarm socket: listening on %1</source>
        <translation>socket di allarme: in ascolto su %1</translation>
    </message>
</context>
<context>
    <name>automation::AutomationFile</name>
    <message>
        <source>neither a [section], a Key=value nor a comment</source>
        <translation>né una [sezione], né una Chiave=valore, né un commento</translation>
    </message>
    <message>
        <source>a Key=value before the first [section]</source>
        <translation>una Chiave=valore prima della prima [sezione]</translation>
    </message>
    <message>
        <source>a section header is a name in brackets, e.g. [Tour2]; the section is left out</source>
        <translation>l&apos;intestazione di una sezione è un nome tra parentesi quadre, ad es. [Tour2]; la sezione è esclusa</translation>
    </message>
    <message>
        <source>%1: its number is 1 to %2; the section is left out</source>
        <translation>%1: il suo numero va da 1 a %2; la sezione è esclusa</translation>
    </message>
    <message>
        <source>%1 appears a second time; the second is left out</source>
        <translation>%1 compare una seconda volta; la seconda è esclusa</translation>
    </message>
    <message>
        <source>%1: more than %2 sections of one kind; the rest are left out</source>
        <translation>%1: più di %2 sezioni dello stesso tipo; le altre sono escluse</translation>
    </message>
    <message>
        <source>%1 is not a section this file has ([SalvoN], [TourN], [AlarmN], [ScheduleN]); it is left out</source>
        <translation>%1 non è una sezione di questo file ([SalvoN], [TourN], [AlarmN], [ScheduleN]); è esclusa</translation>
    </message>
    <message>
        <source>; the section is left out</source>
        <translation>; la sezione è esclusa</translation>
    </message>
    <message>
        <source>%1 is given a second time; the section is left out</source>
        <translation>%1 è indicato una seconda volta; la sezione è esclusa</translation>
    </message>
    <message>
        <source>%1 is not a key of this section; the line is left out</source>
        <translation>%1 non è una chiave di questa sezione; la riga è esclusa</translation>
    </message>
    <message>
        <source>a name is 1 to %1 printable Latin-1 characters without &apos;;&apos;</source>
        <translation>un nome è da 1 a %1 caratteri Latin-1 stampabili senza &apos;;&apos;</translation>
    </message>
    <message>
        <source>%1 is not a %2 (1 to %3)</source>
        <translation>%1 non è valido come %2 (da 1 a %3)</translation>
    </message>
    <message>
        <source>monitor</source>
        <translation>monitor</translation>
    </message>
    <message>
        <source>camera</source>
        <translation>telecamera</translation>
    </message>
    <message>
        <source>preset</source>
        <translation>preset</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not monitor:camera or monitor:camera@preset</source>
        <translation>&quot;%1&quot; non è monitor:telecamera o monitor:telecamera@preset</translation>
    </message>
    <message>
        <source>monitor %1 is given two cameras</source>
        <translation>al monitor %1 sono date due telecamere</translation>
    </message>
    <message>
        <source>more than %1 steps</source>
        <translation>più di %1 passi</translation>
    </message>
    <message>
        <source>dwell in seconds</source>
        <translation>tempo di sosta in secondi</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not camera:dwell or camera@preset:dwell</source>
        <translation>&quot;%1&quot; non è telecamera:sosta o telecamera@preset:sosta</translation>
    </message>
    <message>
        <source>hold or stop</source>
        <translation>hold o stop</translation>
    </message>
    <message>
        <source>a time of day is HH:MM, 00:00 to 23:59</source>
        <translation>un&apos;ora del giorno è HH:MM, da 00:00 a 23:59</translation>
    </message>
    <message>
        <source>days are Mon, Tue, Wed, Thu, Fri, Sat, Sun, separated by commas</source>
        <translation>i giorni sono Mon, Tue, Wed, Thu, Fri, Sat, Sun, separati da virgole</translation>
    </message>
    <message>
        <source>an action is &quot;salvo NAME&quot;, &quot;tour N start&quot; or &quot;tour N stop&quot;</source>
        <translation>un&apos;azione è &quot;salvo NOME&quot;, &quot;tour N start&quot; o &quot;tour N stop&quot;</translation>
    </message>
    <message>
        <source>is left out: it has no %1</source>
        <translation>è esclusa: non ha %1</translation>
    </message>
    <message>
        <source>is left out: a salvo named %1 is already in %2</source>
        <translation>è esclusa: un salvo di nome %1 è già in %2</translation>
    </message>
    <message>
        <source>there is no salvo named %1</source>
        <translation>non esiste un salvo di nome %1</translation>
    </message>
    <message>
        <source>there is no tour %1</source>
        <translation>non esiste il tour %1</translation>
    </message>
    <message>
        <source>is left out: %1</source>
        <translation>è esclusa: %1</translation>
    </message>
    <message>
        <source>two sections of one kind have the same number</source>
        <translation>due sezioni dello stesso tipo hanno lo stesso numero</translation>
    </message>
</context>
<context>
    <name>automation::Engine</name>
    <message>
        <source>%1: line %2 left out: %3</source>
        <translation>%1: riga %2 esclusa: %3</translation>
    </message>
    <message>
        <source>%1: %2 lines left out, the first line %3: %4</source>
        <translation>%1: %2 righe escluse, la prima è la riga %3: %4</translation>
    </message>
    <message>
        <source>%1 is there but cannot be read (%2), so it is not replaced</source>
        <translation>%1 esiste ma non si può leggere (%2), quindi non viene sostituito</translation>
    </message>
    <message>
        <source>%1 could not be written</source>
        <translation>impossibile scrivere %1</translation>
    </message>
</context>
<context>
    <name>automation::SalvoPage</name>
    <message>
        <source>Salvos</source>
        <translation>Salvo</translation>
    </message>
    <message>
        <source>&amp;New salvo</source>
        <translation>&amp;Nuovo salvo</translation>
    </message>
    <message>
        <source>&amp;Delete salvo</source>
        <translation>&amp;Elimina salvo</translation>
    </message>
    <message>
        <source>Na&amp;me:</source>
        <translation>No&amp;me:</translation>
    </message>
    <message>
        <source>Name of the salvo</source>
        <translation>Nome del salvo</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Telecamera</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>Monitor &amp;%1:</source>
        <translation>Monitor &amp;%1:</translation>
    </message>
    <message>
        <source>Camera on monitor %1</source>
        <translation>Telecamera sul monitor %1</translation>
    </message>
    <message>
        <source>The camera the salvo puts on monitor %1; - leaves it as it is</source>
        <translation>La telecamera che il salvo mette sul monitor %1; - lo lascia com&apos;è</translation>
    </message>
    <message>
        <source>Preset for monitor %1</source>
        <translation>Preset per il monitor %1</translation>
    </message>
    <message>
        <source>The preset recalled on that camera; - none</source>
        <translation>Il preset richiamato su quella telecamera; - nessuno</translation>
    </message>
    <message>
        <source>Take the routing sho&amp;wn now</source>
        <translation>&amp;Usa l&apos;instradamento attuale</translation>
    </message>
    <message>
        <source>Each monitor gets the camera the switcher last reported on it</source>
        <translation>Ogni monitor riceve la telecamera che la matrice vi ha indicato per ultima</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(senza nome)</translation>
    </message>
    <message>
        <source>Salvo %1</source>
        <translation>Salvo %1</translation>
    </message>
    <message>
        <source>Delete the salvo %1?</source>
        <translation>Eliminare il salvo %1?</translation>
    </message>
    <message>
        <source>The routing now taken in</source>
        <translation>Instradamento attuale acquisito</translation>
    </message>
    <message>
        <source>The routing taken in; not known now, left as they were: monitor %1</source>
        <translation>Instradamento acquisito; non noti ora, lasciati com&apos;erano: monitor %1</translation>
    </message>
</context>
<context>
    <name>automation::SchedulePage</name>
    <message>
        <source>Schedule entries</source>
        <translation>Voci degli orari</translation>
    </message>
    <message>
        <source>&amp;New entry</source>
        <translation>&amp;Nuova voce</translation>
    </message>
    <message>
        <source>&amp;Delete entry</source>
        <translation>&amp;Elimina voce</translation>
    </message>
    <message>
        <source>N&amp;umber:</source>
        <translation>N&amp;umero:</translation>
    </message>
    <message>
        <source>Number of the entry</source>
        <translation>Numero della voce</translation>
    </message>
    <message>
        <source>&amp;At:</source>
        <translation>&amp;Alle:</translation>
    </message>
    <message>
        <source>Time of day</source>
        <translation>Ora del giorno</translation>
    </message>
    <message>
        <source>Da&amp;ys:</source>
        <translation>&amp;Giorni:</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>Lun</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Mar</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Mer</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Gio</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Ven</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Sab</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>Dom</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Lunedì</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Martedì</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mercoledì</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Giovedì</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Venerdì</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Sabato</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Domenica</translation>
    </message>
    <message>
        <source>Act&amp;ion:</source>
        <translation>A&amp;zione:</translation>
    </message>
    <message>
        <source>What the entry does</source>
        <translation>Che cosa fa la voce</translation>
    </message>
    <message>
        <source>salvo %1</source>
        <translation>salvo %1</translation>
    </message>
    <message>
        <source>start tour %1</source>
        <translation>avvia il tour %1</translation>
    </message>
    <message>
        <source>stop tour %1</source>
        <translation>ferma il tour %1</translation>
    </message>
    <message>
        <source>%1 %2 (%3): %4</source>
        <translation>%1 %2 (%3): %4</translation>
    </message>
    <message>
        <source>every day</source>
        <translation>ogni giorno</translation>
    </message>
    <message>
        <source>Recall salvo %1</source>
        <translation>Richiama il salvo %1</translation>
    </message>
    <message>
        <source>Start tour %1</source>
        <translation>Avvia il tour %1</translation>
    </message>
    <message>
        <source>Stop tour %1</source>
        <translation>Ferma il tour %1</translation>
    </message>
    <message>
        <source>%1 (not there)</source>
        <translation>%1 (non esiste)</translation>
    </message>
    <message>
        <source>Delete schedule entry %1?</source>
        <translation>Eliminare la voce %1 degli orari?</translation>
    </message>
</context>
<context>
    <name>automation::TourPage</name>
    <message>
        <source>Tours</source>
        <translation>Tour</translation>
    </message>
    <message>
        <source>&amp;New tour</source>
        <translation>&amp;Nuovo tour</translation>
    </message>
    <message>
        <source>&amp;Delete tour</source>
        <translation>&amp;Elimina tour</translation>
    </message>
    <message>
        <source>N&amp;umber:</source>
        <translation>N&amp;umero:</translation>
    </message>
    <message>
        <source>Number of the tour</source>
        <translation>Numero del tour</translation>
    </message>
    <message>
        <source>&amp;Monitor:</source>
        <translation>&amp;Monitor:</translation>
    </message>
    <message>
        <source>Monitor of the tour</source>
        <translation>Monitor del tour</translation>
    </message>
    <message>
        <source>When another source r&amp;outes the monitor:</source>
        <translation>Quando un&apos;altra fonte &amp;instrada il monitor:</translation>
    </message>
    <message>
        <source>When another source routes the monitor</source>
        <translation>Quando un&apos;altra fonte instrada il monitor</translation>
    </message>
    <message>
        <source>hold the tour</source>
        <translation>sospendi il tour</translation>
    </message>
    <message>
        <source>stop the tour</source>
        <translation>ferma il tour</translation>
    </message>
    <message>
        <source>St&amp;eps:</source>
        <translation>&amp;Passi:</translation>
    </message>
    <message>
        <source>Steps of the tour</source>
        <translation>Passi del tour</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Telecamera</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>Dwell</source>
        <translation>Sosta</translation>
    </message>
    <message>
        <source>&amp;Add step</source>
        <translation>&amp;Aggiungi passo</translation>
    </message>
    <message>
        <source>Remove ste&amp;p</source>
        <translation>To&amp;gli passo</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>Move the step up</source>
        <translation>Sposta il passo in su</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Giù</translation>
    </message>
    <message>
        <source>Move the step down</source>
        <translation>Sposta il passo in giù</translation>
    </message>
    <message>
        <source>Tour %1: monitor %2, %3 steps</source>
        <translation>Tour %1: monitor %2, %3 passi</translation>
    </message>
    <message>
        <source>Camera of step %1</source>
        <translation>Telecamera del passo %1</translation>
    </message>
    <message>
        <source>Preset of step %1</source>
        <translation>Preset del passo %1</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Dwell of step %1 in seconds</source>
        <translation>Sosta del passo %1 in secondi</translation>
    </message>
    <message>
        <source>Delete tour %1?</source>
        <translation>Eliminare il tour %1?</translation>
    </message>
</context>
<context>
    <name>automation::frmAutomation</name>
    <message>
        <source>Automation - %1</source>
        <translation>Automazione - %1</translation>
    </message>
    <message>
        <source>Sal&amp;vos</source>
        <translation>Sal&amp;vo</translation>
    </message>
    <message>
        <source>&amp;Tours</source>
        <translation>&amp;Tour</translation>
    </message>
    <message>
        <source>A&amp;larms</source>
        <translation>A&amp;llarmi</translation>
    </message>
    <message>
        <source>Sc&amp;hedules</source>
        <translation>&amp;Orari</translation>
    </message>
    <message>
        <source>Salvos, tours, alarms and schedules</source>
        <translation>Salvo, tour, allarmi e orari</translation>
    </message>
    <message>
        <source>Lines of the file that were left out</source>
        <translation>Righe del file che sono state escluse</translation>
    </message>
    <message>
        <source>What the last action did</source>
        <translation>Che cosa ha fatto l&apos;ultima azione</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salva</translation>
    </message>
    <message>
        <source>Writes %1 and applies it at once (Ctrl+S)</source>
        <translation>Scrive %1 e lo applica subito (Ctrl+S)</translation>
    </message>
    <message>
        <source>&amp;Read the file again</source>
        <translation>&amp;Rileggi il file</translation>
    </message>
    <message>
        <source>Reads %1 as it is now, after editing it by hand</source>
        <translation>Legge %1 com&apos;è ora, dopo averlo modificato a mano</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
    <message>
        <source>%1 does not exist yet; Save makes it.</source>
        <translation>%1 non esiste ancora; Salva lo crea.</translation>
    </message>
    <message>
        <source>%1 is there but cannot be read (%2); it is not replaced.</source>
        <translation>%1 esiste ma non si può leggere (%2); non viene sostituito.</translation>
    </message>
    <message>
        <source>Lines left out when it was read: %1</source>
        <translation>Righe escluse alla lettura: %1</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>riga %1: %2</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>e altre %1</translation>
    </message>
    <message>
        <source>%1 lines of %2 were left out when it was read. Saving writes the file without them. Save?</source>
        <translation>%1 righe di %2 sono state escluse alla lettura. Salvando, il file viene scritto senza di esse. Salvare?</translation>
    </message>
    <message>
        <source>Not saved: %1</source>
        <translation>Non salvato: %1</translation>
    </message>
    <message>
        <source>Saved to %1 and applied</source>
        <translation>Salvato in %1 e applicato</translation>
    </message>
    <message>
        <source>Drop the changes that are not saved?</source>
        <translation>Scartare le modifiche non salvate?</translation>
    </message>
    <message>
        <source>Read again</source>
        <translation>Riletto</translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>Salvare le modifiche a %1?</translation>
    </message>
</context>
<context>
    <name>bus::BusClient</name>
    <message>
        <source>MQTT: off</source>
        <translation>MQTT: spento</translation>
    </message>
    <message>
        <source>MQTT: connecting to %1</source>
        <translation>MQTT: connessione a %1</translation>
    </message>
    <message>
        <source>MQTT: connected to %1</source>
        <translation>MQTT: connesso a %1</translation>
    </message>
    <message>
        <source>MQTT: not connected: %1</source>
        <translation>MQTT: non connesso: %1</translation>
    </message>
    <message>
        <source>MQTT: not connected: %1, retry in %2 s</source>
        <translation>MQTT: non connesso: %1, nuovo tentativo tra %2 s</translation>
    </message>
</context>
<context>
    <name>bus::Reason</name>
    <message>
        <source>Port=%1 is not a port number</source>
        <translation>Port=%1 non è un numero di porta</translation>
    </message>
    <message>
        <source>%1=%2 cannot stand in a topic</source>
        <translation>%1=%2 non può stare in un topic</translation>
    </message>
    <message>
        <source>the connection was lost</source>
        <translation>la connessione è caduta</translation>
    </message>
    <message>
        <source>the connection was refused</source>
        <translation>la connessione è stata rifiutata</translation>
    </message>
    <message>
        <source>the broker did not answer</source>
        <translation>il broker non ha risposto</translation>
    </message>
    <message>
        <source>the broker cannot be reached</source>
        <translation>il broker non è raggiungibile</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>cannot resolve %1</source>
        <translation>impossibile risolvere %1</translation>
    </message>
    <message>
        <source>the TLS handshake failed</source>
        <translation>negoziazione TLS fallita</translation>
    </message>
    <message>
        <source>the broker stopped answering</source>
        <translation>il broker non risponde più</translation>
    </message>
    <message>
        <source>the broker refused the protocol version</source>
        <translation>il broker ha rifiutato la versione del protocollo</translation>
    </message>
    <message>
        <source>the broker refused the client id %1</source>
        <translation>il broker ha rifiutato l&apos;id client %1</translation>
    </message>
    <message>
        <source>the broker is unavailable</source>
        <translation>il broker non è disponibile</translation>
    </message>
    <message>
        <source>the broker refused the user name or password</source>
        <translation>il broker ha rifiutato nome utente o password</translation>
    </message>
    <message>
        <source>the broker refused: not authorised</source>
        <translation>il broker ha rifiutato: non autorizzato</translation>
    </message>
    <message>
        <source>the broker refused the connection (code %1)</source>
        <translation>il broker ha rifiutato la connessione (codice %1)</translation>
    </message>
    <message>
        <source>no answer within %1 s</source>
        <translation>nessuna risposta entro %1 s</translation>
    </message>
    <message>
        <source>cannot use the CA file %1</source>
        <translation>impossibile usare il file CA %1</translation>
    </message>
    <message>
        <source>cannot load libmosquitto: %1</source>
        <translation>impossibile caricare libmosquitto: %1</translation>
    </message>
</context>
<context>
    <name>config::StoredFile</name>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>non si può aprire (%1)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>non è un file normale</translation>
    </message>
    <message>
        <source>cannot be read (%1)</source>
        <translation>non si può leggere (%1)</translation>
    </message>
    <message>
        <source>a line over 1 MiB</source>
        <translation>una riga oltre 1 MiB</translation>
    </message>
    <message>
        <source>over 16 MiB</source>
        <translation>oltre 16 MiB</translation>
    </message>
</context>
<context>
    <name>config::Translations</name>
    <message>
        <source>not a translation that can be loaded</source>
        <translation>non è una traduzione caricabile</translation>
    </message>
</context>
<context>
    <name>config::UnreadableFiles</name>
    <message>
        <source>%1 not used, left as it is: %2</source>
        <translation>%1 non usato, lasciato com&apos;è: %2</translation>
    </message>
</context>
<context>
    <name>config::frmChange</name>
    <message>
        <source>Deletes the selected site from the list, after asking</source>
        <translation>Elimina dall&apos;elenco il sito selezionato, dopo averlo chiesto</translation>
    </message>
    <message>
        <source>Delete %1 from the list?</source>
        <translation>Eliminare %1 dall&apos;elenco?</translation>
    </message>
</context>
<context>
    <name>config::frmControllerProgram</name>
    <message>
        <source>The camera&apos;s type: Dome, P&amp;T, FIX or any text; &quot;F&quot; is a type never chosen</source>
        <translation>Il tipo della telecamera: Dome, P&amp;T, FIX o un testo qualsiasi; &quot;F&quot; è un tipo mai scelto</translation>
    </message>
</context>
<context>
    <name>devicelink::LinkMonitor</name>
    <message>
        <source>Resolving %1 ...</source>
        <translation>Risoluzione di %1 ...</translation>
    </message>
    <message>
        <source>Cannot resolve %1</source>
        <translation>Impossibile risolvere %1</translation>
    </message>
    <message>
        <source>Remote site</source>
        <translation>Sito remoto</translation>
    </message>
    <message>
        <source>Open (reopened at %1)</source>
        <translation>Aperta (riaperta alle %1)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Aperta</translation>
    </message>
    <message>
        <source>Lost since %1</source>
        <translation>Persa dalle %1</translation>
    </message>
    <message>
        <source>No device since %1</source>
        <translation>Nessun dispositivo dalle %1</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Chiusa</translation>
    </message>
    <message>
        <source>Cannot open: %1</source>
        <translation>Impossibile aprire: %1</translation>
    </message>
    <message>
        <source>%1 (UDP 2000)</source>
        <translation>%1 (UDP 2000)</translation>
    </message>
    <message>
        <source>Serial Com%1 (%2) %3</source>
        <translation>Seriale Com%1 (%2) %3</translation>
    </message>
    <message>
        <source>%1; commands are not sent until it does.</source>
        <translation>%1; i comandi non vengono inviati finché non si risolve.</translation>
    </message>
    <message>
        <source>; it is opened again when the device comes back.</source>
        <translation>; viene riaperta quando il dispositivo ritorna.</translation>
    </message>
    <message>
        <source>; it is opened when the device appears.</source>
        <translation>; viene aperta quando il dispositivo compare.</translation>
    </message>
    <message>
        <source>status request of %1 not sent: %2</source>
        <translation>richiesta di stato delle %1 non inviata: %2</translation>
    </message>
    <message>
        <source>no reply to the status request of %1</source>
        <translation>nessuna risposta alla richiesta di stato delle %1</translation>
    </message>
    <message>
        <source>routing from %1, %2</source>
        <translation>instradamento da %1, %2</translation>
    </message>
    <message>
        <source> (the previous channel)</source>
        <translation> (il canale precedente)</translation>
    </message>
    <message>
        <source> (from before the loss)</source>
        <translation> (da prima della perdita)</translation>
    </message>
    <message>
        <source>no routing reply yet</source>
        <translation>nessuna risposta di instradamento</translation>
    </message>
    <message>
        <source>%1 cannot be reached</source>
        <translation>%1 non raggiungibile</translation>
    </message>
    <message>
        <source>the port is lost</source>
        <translation>la porta è persa</translation>
    </message>
    <message>
        <source>the port is closed</source>
        <translation>la porta è chiusa</translation>
    </message>
    <message>
        <source>serial %1</source>
        <translation>seriale %1</translation>
    </message>
</context>
<context>
    <name>devicelink::LogFile</name>
    <message>
        <source>Bad file name or number</source>
        <translation>Nome o numero di file non valido</translation>
    </message>
</context>
<context>
    <name>events::EventQuery</name>
    <message>
        <source>there is no event log at %1</source>
        <translation>nessun registro eventi in %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an ISO 8601 date or time (2026-12-09, 2026-12-09T02:14)</source>
        <translation>&apos;%1&apos; non è una data o un&apos;ora ISO 8601 (2026-12-09, 2026-12-09T02:14)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is after &apos;%2&apos;</source>
        <translation>&apos;%1&apos; è dopo &apos;%2&apos;</translation>
    </message>
</context>
<context>
    <name>events::EventStore</name>
    <message>
        <source>the folder %1 cannot be made</source>
        <translation>impossibile creare la cartella %1</translation>
    </message>
    <message>
        <source>%1 is damaged</source>
        <translation>%1 è danneggiato</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>il disco è pieno</translation>
    </message>
    <message>
        <source>%1 is in use by another program</source>
        <translation>%1 è in uso da un altro programma</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>impossibile scrivere %1</translation>
    </message>
    <message>
        <source>%1 cannot be written (%2)</source>
        <translation>impossibile scrivere %1 (%2)</translation>
    </message>
    <message>
        <source>%1 is damaged and cannot be set aside</source>
        <translation>%1 è danneggiato e non si può mettere da parte</translation>
    </message>
</context>
<context>
    <name>events::HistoryModel</name>
    <message>
        <source>sent</source>
        <translation>inviato</translation>
    </message>
    <message>
        <source>received</source>
        <translation>ricevuto</translation>
    </message>
    <message>
        <source>ignored</source>
        <translation>ignorato</translation>
    </message>
    <message>
        <source>state</source>
        <translation>stato</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Ora</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direzione</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Canale</translation>
    </message>
    <message>
        <source>Origin</source>
        <translation>Origine</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Significato</translation>
    </message>
    <message>
        <source>%1, written by %2</source>
        <translation>%1, scritto da %2</translation>
    </message>
</context>
<context>
    <name>events::HistoryView</name>
    <message>
        <source>The first time searched</source>
        <translation>Il primo istante cercato</translation>
    </message>
    <message>
        <source>The last time searched</source>
        <translation>L&apos;ultimo istante cercato</translation>
    </message>
    <message>
        <source>Shows only the rows whose meaning, origin or channel holds this text</source>
        <translation>Mostra solo le righe il cui significato, origine o canale contiene questo testo</translation>
    </message>
    <message>
        <source>camera 5, monitor 2, keyboard, Com1...</source>
        <extracomment>The event log&apos;s own words, which the filter finds: keep them as they are.</extracomment>
        <translation>es. camera 5, monitor 2, keyboard, Com1...</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Cerca</translation>
    </message>
    <message>
        <source>Searches the event log for the rows of the range</source>
        <translation>Cerca nel registro eventi le righe dell&apos;intervallo</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>&amp;Esporta...</translation>
    </message>
    <message>
        <source>Saves the rows found as CSV</source>
        <translation>Salva le righe trovate come CSV</translation>
    </message>
    <message>
        <source>What the search found</source>
        <translation>Cosa ha trovato la ricerca</translation>
    </message>
    <message>
        <source>Events found</source>
        <translation>Eventi trovati</translation>
    </message>
    <message>
        <source>F&amp;rom</source>
        <translation>&amp;Da</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <translation>&amp;A</translation>
    </message>
    <message>
        <source>F&amp;ilter</source>
        <translation>&amp;Filtro</translation>
    </message>
    <message>
        <source>The range ends before it begins.</source>
        <translation>L&apos;intervallo finisce prima di iniziare.</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Ricerca in corso...</translation>
    </message>
    <message>
        <source>The event log cannot be read: %1</source>
        <translation>Impossibile leggere il registro eventi: %1</translation>
    </message>
    <message>
        <source>Export Events</source>
        <translation>Esporta eventi</translation>
    </message>
    <message>
        <source>CSV (*.csv);;All Files (*)</source>
        <translation>CSV (*.csv);;Tutti i file (*)</translation>
    </message>
    <message>
        <source>The events could not be exported to %1: %2</source>
        <translation>Impossibile esportare gli eventi in %1: %2</translation>
    </message>
    <message>
        <source>The first %1 events from %2 to %3 are shown; narrow the range or the filter to see the rest.</source>
        <translation>Sono mostrati i primi %1 eventi dal %2 al %3; restringere intervallo o filtro per vedere il resto.</translation>
    </message>
    <message>
        <source>1 event found from %1 to %2.</source>
        <translation>1 evento trovato dal %1 al %2.</translation>
    </message>
    <message>
        <source>%1 events found from %2 to %3.</source>
        <translation>%1 eventi trovati dal %2 al %3.</translation>
    </message>
    <message>
        <source>1 event exported to %1.</source>
        <translation>1 evento esportato in %1.</translation>
    </message>
    <message>
        <source>%1 events exported to %2.</source>
        <translation>%1 eventi esportati in %2.</translation>
    </message>
</context>
<context>
    <name>frmSceltaLingua</name>
    <message>
        <source>Path:</source>
        <translation>Percorso:</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Unità:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Lingua:</translation>
    </message>
</context>
<context>
    <name>frmTerminal</name>
    <message>
        <source>Send</source>
        <translation>Invia</translation>
    </message>
    <message>
        <source>A command code in hexadecimal, as 35 for camera 5</source>
        <translation>Un codice di comando esadecimale, come 35 per la telecamera 5</translation>
    </message>
    <message>
        <source>Switcher panel</source>
        <translation>Pannello della matrice</translation>
    </message>
    <message>
        <source>Menus</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Terminal</source>
        <translation>Terminale</translation>
    </message>
    <message>
        <source>What the serial line brings; keys typed here go out on the port. F6 goes back to the panel.</source>
        <translation>Ciò che arriva dalla linea seriale; i tasti digitati qui escono sulla porta. F6 torna al pannello.</translation>
    </message>
    <message>
        <source>Remote site address</source>
        <translation>Indirizzo del sito remoto</translation>
    </message>
    <message>
        <source>Command code</source>
        <translation>Codice di comando</translation>
    </message>
    <message>
        <source>Videohub: %1</source>
        <translation>Videohub: %1</translation>
    </message>
    <message>
        <source>Videohub server: %1; clients connected: %2</source>
        <translation>Server Videohub: %1; client collegati: %2</translation>
    </message>
    <message>
        <source>Event log not written</source>
        <translation>Registro eventi non scritto</translation>
    </message>
    <message>
        <source>The event log is not being written: %1</source>
        <translation>Il registro eventi non viene scritto: %1</translation>
    </message>
    <message>
        <source>The event log was damaged; it was set aside as %1 and a new one begun</source>
        <translation>Il registro eventi era danneggiato; è stato messo da parte come %1 e ne è stato iniziato uno nuovo</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Tipo non corrispondente</translation>
    </message>
    <message>
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>MQTT</source>
        <translation>MQTT</translation>
    </message>
    <message>
        <source>MQTT: no</source>
        <translation>MQTT: no</translation>
    </message>
    <message>
        <source>The event log is written again</source>
        <translation>Il registro eventi viene di nuovo scritto</translation>
    </message>
    <message>
        <source>Data cannot be sent</source>
        <translation>Impossibile inviare i dati</translation>
    </message>
</context>
<context>
    <name>panel::KeyboardRouting</name>
    <message>
        <source>Number %1: then M, C or P</source>
        <translation>Numero %1: poi M, C o P</translation>
    </message>
    <message>
        <source>Type a number first, then M, C or P</source>
        <translation>Digitare prima un numero, poi M, C o P</translation>
    </message>
    <message>
        <source>No monitor %1: monitors are 1 to 4</source>
        <translation>Nessun monitor %1: i monitor vanno da 1 a 4</translation>
    </message>
    <message>
        <source>No camera %1: cameras are 1 to 16</source>
        <translation>Nessuna telecamera %1: le telecamere vanno da 1 a 16</translation>
    </message>
    <message>
        <source>No preset %1: presets are 1 to 16</source>
        <translation>Nessun preset %1: i preset vanno da 1 a 16</translation>
    </message>
    <message>
        <source>Monitor %1</source>
        <translation>Monitor %1</translation>
    </message>
    <message>
        <source>Camera %1</source>
        <translation>Telecamera %1</translation>
    </message>
    <message>
        <source>Preset %1 recalled</source>
        <translation>Preset %1 richiamato</translation>
    </message>
    <message>
        <source>Preset %1 not recalled: a preset sequence is running</source>
        <translation>Preset %1 non richiamato: è in corso una sequenza di preset</translation>
    </message>
    <message>
        <source>No monitor %1 to lock: monitors are 1 to 4</source>
        <translation>Nessun monitor %1 da bloccare: i monitor vanno da 1 a 4</translation>
    </message>
    <message>
        <source>Monitor %1 unlocked</source>
        <translation>Monitor %1 sbloccato</translation>
    </message>
    <message>
        <source>Monitor %1 locked</source>
        <translation>Monitor %1 bloccato</translation>
    </message>
    <message>
        <source>No alarm input %1: alarm inputs are 1 to 64</source>
        <translation>Nessun ingresso di allarme %1: gli ingressi vanno da 1 a 64</translation>
    </message>
    <message>
        <source>No tour %1</source>
        <translation>Nessun tour %1</translation>
    </message>
    <message>
        <source>No alarm to acknowledge</source>
        <translation>Nessun allarme da confermare</translation>
    </message>
    <message>
        <source>Alarm input %1 is not bound in automation.ini</source>
        <translation>L&apos;ingresso di allarme %1 non è configurato in automation.ini</translation>
    </message>
    <message>
        <source>No tour %1 in automation.ini</source>
        <translation>Nessun tour %1 in automation.ini</translation>
    </message>
    <message>
        <source>Not done: %1</source>
        <translation>Non eseguito: %1</translation>
    </message>
    <message>
        <source>Tour %1 started</source>
        <translation>Tour %1 avviato</translation>
    </message>
    <message>
        <source>Tour %1 held</source>
        <translation>Tour %1 fermo</translation>
    </message>
    <message>
        <source>Tour %1 stopped</source>
        <translation>Tour %1 terminato</translation>
    </message>
    <message>
        <source>Tour %1: one step on</source>
        <translation>Tour %1: un passo avanti</translation>
    </message>
    <message>
        <source>Tour %1: one step back</source>
        <translation>Tour %1: un passo indietro</translation>
    </message>
    <message>
        <source>Alarm %1 acknowledged</source>
        <translation>Allarme %1 confermato</translation>
    </message>
</context>
<context>
    <name>panel::PresetPad</name>
    <message>
        <source>Preset %1</source>
        <translation>Preset %1</translation>
    </message>
</context>
<context>
    <name>panel::PtzPad</name>
    <message>
        <source>Speed %1 of %2 (code %3)</source>
        <translation>Velocità %1 di %2 (codice %3)</translation>
    </message>
    <message>
        <source>Speed %1 of %2</source>
        <translation>Velocità %1 di %2</translation>
    </message>
</context>
<context>
    <name>panel::SelectionPad</name>
    <message>
        <source>Monitor %1</source>
        <translation>Monitor %1</translation>
    </message>
    <message>
        <source>Camera %1, %2</source>
        <translation>Telecamera %1, %2</translation>
    </message>
</context>
<context>
    <name>panel::StatusDisplay</name>
    <message>
        <source>on the monitor the switcher reported</source>
        <translation>sul monitor indicato dalla matrice</translation>
    </message>
    <message>
        <source>the monitor the switcher reported</source>
        <translation>il monitor indicato dalla matrice</translation>
    </message>
    <message>
        <source>%1, not confirmed</source>
        <translation>%1, non confermato</translation>
    </message>
    <message>
        <source>locked by %1</source>
        <translation>bloccato da %1</translation>
    </message>
</context>
<context>
    <name>remote::VideohubServer</name>
    <message>
        <source>off</source>
        <translation>spento</translation>
    </message>
    <message>
        <source>cannot listen: Port=%1 is not a port number</source>
        <translation>impossibile ascoltare: Port=%1 non è un numero di porta</translation>
    </message>
    <message>
        <source>Allow=%1 is not an address or network</source>
        <translation>Allow=%1 non è un indirizzo o una rete</translation>
    </message>
    <message>
        <source>Address=%1 also needs Allow= to be set</source>
        <translation>Address=%1 richiede anche Allow=</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>impossibile ascoltare su %1: %2</translation>
    </message>
    <message>
        <source>listening on %1</source>
        <translation>in ascolto su %1</translation>
    </message>
    <message>
        <source>listening on %1 only: %2</source>
        <translation>in ascolto solo su %1: %2</translation>
    </message>
    <message>
        <source>[::]:%1 (IPv4 and IPv6)</source>
        <translation>[::]:%1 (IPv4 e IPv6)</translation>
    </message>
    <message>
        <source>cannot listen: Address=%1 is not an address or host name</source>
        <translation>impossibile ascoltare: Address=%1 non è un indirizzo né un nome di host</translation>
    </message>
    <message>
        <source>resolving %1 ...</source>
        <translation>risoluzione di %1 ...</translation>
    </message>
    <message>
        <source>cannot listen: Address=%1 does not resolve</source>
        <translation>impossibile ascoltare: Address=%1 non si risolve</translation>
    </message>
    <message>
        <source>Allow=%1 lets every address connect</source>
        <translation>Allow=%1 lascia collegare ogni indirizzo</translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
</context>
<context>
    <name>terminal::LogCommands</name>
    <message>
        <source>Open Log File</source>
        <translation>Apri file di log</translation>
    </message>
    <message>
        <source>Log Files (*.log);;All Files (*)</source>
        <translation>File di log (*.log);;Tutti i file (*)</translation>
    </message>
</context>
<context>
    <name>terminal::PortPrompts</name>
    <message>
        <source>Overflow</source>
        <translation>Overflow</translation>
    </message>
</context>
<context>
    <name>terminal::Transmission</name>
    <message>
        <source>Transmit Text File</source>
        <translation>Trasmetti file di testo</translation>
    </message>
    <message>
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation>File di testo (*.txt);;Tutti i file (*)</translation>
    </message>
</context>
<context>
    <name>terminal::frmAbout</name>
    <message>
        <source>Control panel for the Velmar CCTV matrix switcher: 16 cameras, 4 monitors, pan/tilt/zoom and presets.</source>
        <translation>Pannello di controllo della matrice video CCTV Velmar: 16 telecamere, 4 monitor, brandeggio, zoom e preset.</translation>
    </message>
    <message>
        <source>Velmar - video surveillance systems</source>
        <translation>Velmar - sistemi di videosorveglianza</translation>
    </message>
    <message>
        <source>Velmar Controller %1.%2.%3

Designed and written for Velmar&apos;s CCTV matrix switchers.
Thanks to everyone who tested it in the control rooms.</source>
        <translation>Velmar Controller %1.%2.%3

Progettato e scritto per le matrici CCTV Velmar.
Grazie a tutti quelli che lo hanno provato nelle sale controllo.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>Informazioni di &amp;sistema...</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Informazioni su %1</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versione %1.%2.%3</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Informazioni di sistema non disponibili al momento</translation>
    </message>
</context>
<context>
    <name>terminal::frmCancelSend</name>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Transmitting Text File - %1</source>
        <translation>Invio del file di testo - %1</translation>
    </message>
</context>
<context>
    <name>terminal::frmProperties</name>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>The device this port opens ([Ports] in settings.ini)</source>
        <translation>Il dispositivo che questa porta apre ([Ports] in settings.ini)</translation>
    </message>
    <message>
        <source>Device...</source>
        <translation>Dispositivo...</translation>
    </message>
    <message>
        <source>Leads this port to one of the serial devices present</source>
        <translation>Collega questa porta a uno dei dispositivi seriali presenti</translation>
    </message>
    <message>
        <source>Com%1 opens %2</source>
        <translation>Com%1 apre %2</translation>
    </message>
    <message>
        <source>No serial device found</source>
        <translation>Nessun dispositivo seriale trovato</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nessuno</translation>
    </message>
    <message>
        <source>Xon/Xoff</source>
        <translation>Xon/Xoff</translation>
    </message>
    <message>
        <source>RTS</source>
        <translation>RTS</translation>
    </message>
    <message>
        <source>Xon/RTS</source>
        <translation>Xon/RTS</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Disattivato</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Attivato</translation>
    </message>
    <message>
        <source>Data Bits:</source>
        <translation>Bit di dati:</translation>
    </message>
    <message>
        <source>Parity:</source>
        <translation>Parità:</translation>
    </message>
    <message>
        <source>Stop Bits:</source>
        <translation>Bit di stop:</translation>
    </message>
    <message>
        <source>&amp;Echo</source>
        <translation>&amp;Eco</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Pari</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Dispari</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Spazio</translation>
    </message>
</context>
<context>
    <name>ui::QtDatagramSocket</name>
    <message>
        <source>%1 does not resolve</source>
        <translation>%1 non si risolve</translation>
    </message>
    <message>
        <source>%1 does not resolve (%2)</source>
        <translation>%1 non si risolve (%2)</translation>
    </message>
</context>
<context>
    <name>ui::QtSerialPort</name>
    <message>
        <source>process %1</source>
        <translation>processo %1</translation>
    </message>
    <message>
        <source>%1, process %2</source>
        <translation>%1, processo %2</translation>
    </message>
    <message>
        <source>settings.ini, [Ports]: %1 names no serial port (Com1 to Com16) and is not used.</source>
        <translation>settings.ini, [Ports]: %1 non indica una porta seriale (da Com1 a Com16) e non è usato.</translation>
    </message>
    <message>
        <source>Port already open</source>
        <translation>Porta già aperta</translation>
    </message>
    <message>
        <source>Invalid port number</source>
        <translation>Numero di porta non valido</translation>
    </message>
    <message>
        <source>%1 data bits are not supported by this port</source>
        <translation>questa porta non supporta %1 bit di dati</translation>
    </message>
    <message>
        <source>1.5 stop bits are not supported by this port</source>
        <translation>questa porta non supporta 1,5 bit di stop</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Valore di proprietà non valido</translation>
    </message>
    <message>
        <source>there is no such device</source>
        <translation>il dispositivo non esiste</translation>
    </message>
    <message>
        <source>no permission to open the device; on Debian, add the user to the dialout group (adduser $USER dialout) and log in again</source>
        <translation>nessun permesso di aprire il dispositivo; su Debian aggiungere l&apos;utente al gruppo dialout (adduser $USER dialout) e accedere di nuovo</translation>
    </message>
    <message>
        <source>the port is in use by another program</source>
        <translation>la porta è in uso da un altro programma</translation>
    </message>
    <message>
        <source>the port is in use by another program (%1)</source>
        <translation>la porta è in uso da un altro programma (%1)</translation>
    </message>
    <message>
        <source>the port is in use by another program, or access is denied</source>
        <translation>la porta è in uso da un altro programma, o l&apos;accesso è negato</translation>
    </message>
    <message>
        <source>the device refuses it</source>
        <translation>il dispositivo lo rifiuta</translation>
    </message>
    <message>
        <source>cannot set %1: %2</source>
        <translation>impossibile impostare %1: %2</translation>
    </message>
    <message>
        <source>%1 baud</source>
        <translation>%1 baud</translation>
    </message>
    <message>
        <source>%1 data bits</source>
        <translation>%1 bit di dati</translation>
    </message>
    <message>
        <source>parity %1</source>
        <translation>parità %1</translation>
    </message>
    <message>
        <source>%1 stop bits</source>
        <translation>%1 bit di stop</translation>
    </message>
    <message>
        <source>Xon/Xoff together with RTS/CTS is not supported</source>
        <translation>Xon/Xoff insieme a RTS/CTS non è supportato</translation>
    </message>
    <message>
        <source>Operation valid only when the port is open</source>
        <translation>Operazione valida solo quando la porta è aperta</translation>
    </message>
    <message>
        <source>the device is gone (unplugged or switched off); the port is closed</source>
        <translation>il dispositivo non c&apos;è più (scollegato o spento); la porta è chiusa</translation>
    </message>
</context>
<context>
    <name>ui::SerialPort</name>
    <message>
        <source>Invalid property value</source>
        <translation>Valore di proprietà non valido</translation>
    </message>
</context>
<context>
    <name>ui::SerialSettings</name>
    <message>
        <source>Invalid port settings &quot;%1&quot;</source>
        <translation>Impostazioni della porta non valide &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>web::WebServer</name>
    <message>
        <source>web off</source>
        <translation>web spento</translation>
    </message>
    <message>
        <source>web: cannot listen: %1</source>
        <translation>web: impossibile restare in ascolto: %1</translation>
    </message>
    <message>
        <source>Address=%1 is not an IP address</source>
        <translation>Address=%1 non è un indirizzo IP</translation>
    </message>
    <message>
        <source>Port=%1 is not a port number</source>
        <translation>Port=%1 non è un numero di porta</translation>
    </message>
    <message>
        <source> (this machine only: no user yet, add one with --add-user)</source>
        <translation> (solo questo computer: nessun utente, aggiungerne uno con --add-user)</translation>
    </message>
    <message>
        <source>Certificate and Key are set together</source>
        <translation>Certificate e Key vanno impostati insieme</translation>
    </message>
    <message>
        <source>%1 is not a PEM certificate that can be read</source>
        <translation>%1 non è un certificato PEM leggibile</translation>
    </message>
    <message>
        <source>%1 is not a PEM key (RSA or EC) that can be read</source>
        <translation>%1 non è una chiave PEM (RSA o EC) leggibile</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>web: %1</source>
        <translation>web: %1</translation>
    </message>
    <message>
        <source>too many requests</source>
        <translation>troppe richieste</translation>
    </message>
</context>
</TS>
