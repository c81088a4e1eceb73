// The notes: the scenario's reading matter for the driver, in Italian. Three
// sections (the line, its history, the train with its composition) and the
// author's signature, 135 lines in all.
//
// The text is held exactly as written to the file. Paragraphs are broken into
// lines of at most 101 characters; a line broken inside a sentence keeps the
// blank at the break at its end, a line that ends a sentence has none. List
// items start with "- ", sub-items with "  - "; continuation lines are
// indented by 2 and 4 blanks. Headings stand at lines 0, 64 and 110, the
// group items "- stazioni:", "- fermate:" and "- velocità:" at 24, 34 and 37,
// each group with exactly one sub-item that runs onto a continuation line.
// The text must agree with the line and train descriptions: stations and
// stop, speeds, bridges and gradients, kilometric progressives, boards.
#include <array>
#include <string_view>

#include "content/documents.h"

namespace scenariogen {

namespace {

constexpr std::array<std::string_view, 135> kNote{
    // The line: its character, the sources of the scenario, its equipment and data.
    "Caratteristiche della linea Zervano-Odelma",
    "",
    "La Zervano-Odelma è una linea elettrificata a semplice binario, lunga circa 46 km, che unisce il ",
    "nodo di Zervano alla città di Odelma. Il terreno è quasi del tutto pianeggiante e il tracciato corre ",
    "su lunghi rettilinei raccordati da curve ampie; una sola curva, all'ingresso di Odelma P.Livara, è ",
    "così stretta da imporre i 30 km/h. Le pendenze più sensibili, fino al 6 per mille, sono quelle delle ",
    "rampe di accesso ai ponti sul fiume Serpio e sul Roggione Grande.",
    "",
    "Lo scenario è stato costruito a partire dall'orario di servizio e dal fascicolo della linea, ",
    "integrati con le carte topografiche della zona, con le fotografie e le riprese dalla cabina di guida ",
    "raccolte in diversi viaggi e con le indicazioni di alcuni ferrovieri che vi hanno prestato servizio ",
    "per molti anni; le progressive dei passaggi a livello sono state verificate sul posto.",
    "",
    "Alcuni dati essenziali sull'attrezzatura e sull'esercizio della linea:",
    "- blocco: la circolazione è regolata dal blocco elettrico conta-assi; le stazioni sono protette da ",
    "  segnali luminosi di protezione e di partenza, preceduti dai rispettivi segnali di avviso.",
    "- ripetizione dei segnali in macchina: assente; il macchinista deve quindi affidarsi soltanto ",
    "  all'osservazione dei segnali lungo la linea, anche quando la nebbia li rende poco visibili.",
    "- comando a distanza: le stazioni intermedie sono impresenziate e telecomandate dal Dirigente ",
    "  Centrale Operativo di Odelma; Zervano e Odelma S.Leonardino hanno ancora un dirigente movimento.",
    "- passaggi a livello: numerosi, per lo più con barriere comandate dalle stazioni vicine; due sono ",
    "  automatici (P.L.A.), uno poco dopo Zervano e uno poco prima di Torrianevalle.",
    "- alimentazione: linea di contatto a 3000 V in corrente continua, alimentata dalle sottostazioni ",
    "  elettriche di Brendago e di Fontega.",
    "- stazioni:",
    "  - ZERVANO (km 0+000), stazione di origine, con le diramazioni per Gorventa e per Tessio",
    "  - LUVERA (km 5+300)",
    "  - BRENDAGO (km 12+800), dove termina la prima progressiva chilometrica",
    "  - TORRIANEVALLE (km 26+500)",
    "  - MURIELLO (km 17+350), dove il treno sosta tre minuti per l'incrocio con il treno regionale ",
    "    proveniente da Odelma",
    "  - FONTEGA (km 10+900)",
    "  - ODELMA S.LEONARDINO (km 8+600), stazione di diramazione per Cintura",
    "  - ODELMA P.LIVARA (km 5+200), capolinea del treno",
    "- fermate:",
    "  - CALVISSO (km 13+950), fermata impresenziata con un solo marciapiede, ricavata negli anni ",
    "    Ottanta dalla vecchia stazione",
    "- velocità:",
    "  - 140 km/h da Zervano a Torrianevalle e dal ponte sul Roggione Grande a Odelma S.Leonardino",
    "  - 105 km/h da Torrianevalle al ponte sul Roggione Grande",
    "  - 90 km/h da Odelma S.Leonardino al segnale di protezione di Odelma P.Livara",
    "  - 30 km/h dal segnale di protezione al capolinea, imposti dalla curva stretta all'ingresso ",
    "    della stazione",
    "",

    // How the simulation shows the line and where it departs from the real one.
    "Nella simulazione ogni passaggio a livello, ogni punto notevole e ogni cambio di velocità è indicato ",
    "da un cartello, anche dove sulla linea reale non ne esiste alcuno; i cartelli dei passaggi a livello ",
    "riportano la progressiva chilometrica, utile per seguire la corsa sulla scheda treno.",
    "Sulla linea reale la fermata di Calvisso è preannunciata da tavole di avviso che il simulatore non ",
    "sa riprodurre: al loro posto si trovano due cartelli \"Avviso fermata\", il primo con il segno \"//\" a ",
    "circa 1200 m dalla fermata, il secondo con il segno \"/\" a circa 1000 m.",
    "Non sono riprodotti neppure i segnali di protezione dei passaggi a livello, che il simulatore non ",
    "può rappresentare: ogni passaggio a livello va quindi considerato regolarmente protetto.",
    "Il percorso segue due diverse progressive chilometriche:",
    "- da Zervano a Brendago la progressiva è crescente, dal km 0+000 al km 12+800;",
    "- subito dopo Brendago si passa alla progressiva decrescente della linea per Odelma, che parte ",
    "  all'incirca dal km 36+800 e scende fino al km 5+200 di Odelma P.Livara.",
    "Le pendenze sono state ricavate da profili altimetrici di precisione limitata: l'andamento generale ",
    "è fedele, ma l'inizio delle livellette e i valori delle pendenze possono scostarsi di poco da quelli ",
    "reali.",
    "Chi, conoscendo la linea, vi riscontrasse errori o imprecisioni è pregato di segnalarli ",
    "all'indirizzo riportato in fondo a queste note, perché possano essere corretti in una prossima ",
    "versione dello scenario; saranno molto graditi anche dati più precisi sulle pendenze.",
    "",
    "",

    // History of the line.
    "Cenno storico",
    "",
    "La linea fu aperta all'esercizio negli ultimi anni dell'Ottocento e per oltre mezzo secolo fu ",
    "percorsa da treni a vapore, lenti e poco frequenti, al servizio soprattutto delle campagne e delle ",
    "piccole industrie della pianura. La svolta arrivò con l'elettrificazione a 3000 V in corrente ",
    "continua, attivata il 1° giugno 1958 insieme al rinnovo dell'armamento, che permise di ridurre ",
    "sensibilmente i tempi di percorrenza.",
    "Fino alla riorganizzazione degli anni Novanta la linea fu divisa tra due compartimenti ferroviari, ",
    "quello di Zervano e quello di Odelma; il confine, a circa 2 km da Zervano, è ancora ricordato da un ",
    "cartello.",
    "Nei primi anni del servizio elettrico i treni viaggiatori erano affidati a vecchie locomotive ",
    "elettriche di modesta potenza, che trainavano carrozze a terrazzini e carrozze a cassa metallica, ",
    "mentre i servizi più leggeri erano svolti da elettromotrici isolate o accoppiate.",
    "Il traffico merci era allora vivace: lo stabilimento industriale tra Muriello e Calvisso, servito da ",
    "due raccordi, spediva ogni giorno diversi carri, raccolti da una tradotta che faceva la spola con ",
    "Odelma; anche Brendago e Torrianevalle avevano un piccolo scalo merci, oggi scomparso.",
    "Negli anni Settanta i caselli lungo la linea vennero chiusi uno dopo l'altro e i passaggi a livello ",
    "furono dotati di barriere comandate dalle stazioni vicine; del casello al km 12+600 resta il ",
    "fabbricato, che nella simulazione è segnalato da un cartello.",
    "In quegli stessi anni arrivarono locomotive più moderne e potenti, che consentirono treni più ",
    "lunghi e più veloci, compresi alcuni diretti fra Zervano e Odelma.",
    "Il decennio successivo fu segnato dal declino delle merci: la chiusura dello stabilimento portò ",
    "all'abbandono dei raccordi e la stazione di Calvisso, ormai priva di traffico, fu trasformata in ",
    "fermata impresenziata. Contemporaneamente il blocco elettrico conta-assi sostituì il vecchio blocco ",
    "telefonico, con cui i dirigenti movimento si scambiavano a voce il consenso per ogni treno.",
    "Negli anni Novanta la stazione di Odelma S.Leonardino fu rinnovata con un apparato centrale ",
    "elettrico e la linea passò sotto il controllo del Dirigente Centrale Operativo, che da Odelma ",
    "comanda a distanza scambi e segnali delle stazioni intermedie.",
    "Sui treni regionali comparvero le composizioni reversibili con carrozza semipilota, che eliminarono ",
    "le lunghe manovre di inversione della locomotiva ai capolinea.",
    "All'inizio del nuovo secolo il rinnovo dell'armamento, con rotaie più pesanti saldate in lunga ",
    "rotaia, permise di elevare la velocità massima a 140 km/h su gran parte della linea; restarono i ",
    "limiti a 105 km/h tra Torrianevalle e il ponte sul Roggione Grande, a 90 km/h oltre Odelma ",
    "S.Leonardino e a 30 km/h all'ingresso di Odelma P.Livara.",
    "Pochi anni dopo fu introdotto l'orario cadenzato: da ciascun capolinea parte un treno regionale ogni ",
    "ora, con rinforzi nelle ore di punta, e gli incroci si svolgono sempre nelle stesse stazioni, per lo ",
    "più a Muriello e a Brendago.",
    "Oggi la linea è percorsa quasi soltanto da treni regionali, frequentati soprattutto da pendolari e ",
    "studenti diretti a Odelma, mentre il traffico merci si limita a qualche treno diretto alla ",
    "diramazione per Cintura. Le stazioni sono state rinnovate, con marciapiedi rialzati e sottopassaggi, ",
    "e i vecchi fabbricati viaggiatori, in parte chiusi al pubblico, ospitano associazioni e uffici ",
    "comunali.",
    "Chi avesse ricordi, fotografie o documenti sulla storia della linea può scrivermi all'indirizzo ",
    "riportato in fondo a queste note: ogni contributo sarà benvenuto.",
    "",
    "",

    // The train and its composition; the author's signature.
    "Caratteristiche del treno 27340",
    "",
    "Il 27340 è un treno regionale del mattino che collega Zervano con Odelma P.Livara in 52 minuti, ",
    "fermando in tutte le stazioni e a Calvisso; lo frequentano soprattutto studenti e pendolari.",
    "",
    "Composizione.",
    "Il treno è formato da una locomotiva elettrica e da sei carrozze per il servizio regionale, l'ultima ",
    "delle quali è una semipilota; la velocità massima è di 130 km/h, la percentuale di massa frenata del ",
    "130% e la massa bloccata di 500 t, come riporta la scheda treno.",
    "Da Zervano la locomotiva viaggia in testa: nella simulazione si guida quindi dalla sua cabina.",
    "Nella realtà la composizione non è sempre quella prevista: nei giorni di minore frequentazione le ",
    "carrozze possono ridursi a quattro e non di rado il treno è sostituito da un elettrotreno.",
    "Anche la puntualità risente del semplice binario: la sosta di tre minuti a Muriello serve ",
    "all'incrocio, e basta un ritardo del treno incrociante perché si prolunghi.",
    "La simulazione riproduce la corsa teorica, senza ritardi e senza anormalità; per questo l'ordine di ",
    "rallentamento allegato allo scenario non riporta alcuna limitazione.",
    "Chi desiderasse scenari con circolazione perturbata, guasti o rallentamenti può inviare le proprie ",
    "proposte, che saranno prese in considerazione per i prossimi scenari.",
    "",
    "",
    "Davide Ferraresi",
    "",
    "E-Mail: davide.ferraresi@example.org",
    "",
    "",
};

}  // namespace

LineList notes_lines() {
    LineList lines(kNote.begin(), kNote.end());
    lines.emplace_back(kSentinel);
    return lines;
}

}  // namespace scenariogen
