// texts.cpp: the localised text tables and the non-localised texts of the wizard.
//
// Stored as plain ASCII source: every byte of 128 or above is written as an octal escape of its
// Windows-1252 code (octal, because a hex escape would swallow a following letter a to f).
// Each table lists English, Spanish, French, Italian, Norwegian, Portuguese, Swedish.
#include "app/texts.h"

const uint8_t LanguageEnabled[LanguageCount] = {1, 1, 1, 1, 1, 1, 1};

const LocalisedText ReadmeFileName = {
    "readme_eng.txt",  // English
    "readme_esp.txt",  // Spanish
    "readme_fra.txt",  // French
    "readme_ita.txt",  // Italian
    "readme_nor.txt",  // Norwegian
    "readme_por.txt",  // Portuguese
    "readme_sve.txt",  // Swedish
};

const LocalisedText LanguageButtonText = {
    "Install in English",  // English
    "Instalar en Espa\361ol",  // Spanish
    "Installation en Fran\347ais",  // French
    "Installa in Italiano",  // Italian
    "Installer p\345 norsk",  // Norwegian
    "Instala\347\343o em Portugu\352s",  // Portuguese
    "Installera p\345 svenska",  // Swedish
};

const LocalisedText BackLabel = {
    "< Back",  // English
    "< Volver",  // Spanish
    "< Retour",  // French
    "< Indietro",  // Italian
    "< Tilbake",  // Norwegian
    "< Atr\341s",  // Portuguese
    "< Bak\345t",  // Swedish
};

const LocalisedText NextLabel = {
    "Next >",  // English
    "Siguiente >",  // Spanish
    "Suite >",  // French
    "Avanti >",  // Italian
    "Neste >",  // Norwegian
    "Seguinte >",  // Portuguese
    "N\344sta >",  // Swedish
};

const LocalisedText FinishLabel = {
    "Finish",  // English
    "Terminar",  // Spanish
    "Finir",  // French
    "Fine",  // Italian
    "Avslutt",  // Norwegian
    "Terminar",  // Portuguese
    "Avsluta",  // Swedish
};

const LocalisedText ExitLabel = {
    "Exit",  // English
    "Salir",  // Spanish
    "Quitter",  // French
    "Esci",  // Italian
    "Avslutt",  // Norwegian
    "Sair",  // Portuguese
    "Avsluta",  // Swedish
};

const LocalisedText YesLabel = {
    "Yes",  // English
    "S\355",  // Spanish
    "Oui",  // French
    "S\354",  // Italian
    "Ja",  // Norwegian
    "Sim",  // Portuguese
    "Ja",  // Swedish
};

const LocalisedText NoLabel = {
    "No",  // English
    "No",  // Spanish
    "Non",  // French
    "No",  // Italian
    "Nei",  // Norwegian
    "N\343o",  // Portuguese
    "Nej",  // Swedish
};

const LocalisedText SourceMissingText = {
    "Unable to find a source file",  // English
    "No se encuentra un fichero de origen",  // Spanish
    "Impossible de trouver un fichier source",  // French
    "Impossibile trovare il file di aggiornamento",  // Italian
    "Klarer ikke \345 finne kilde filen",  // Norwegian
    "Incapaz de encontrar um ficheiro de instala\347\343o",  // Portuguese
    "Kan ej hitta k\344llfil",  // Swedish
};

const LocalisedText ClickNextToContinueText = {
    "Click 'Next' to continue",  // English
    "Pulsa 'Siguiente' para continuar",  // Spanish
    "Cliquez sur 'Suite' pour continuer",  // French
    "Premi 'Avanti' per continuare",  // Italian
    "Klikk 'Neste' for \345 fortsette",  // Norwegian
    "Escolha 'Seguinte' para continuar",  // Portuguese
    "Klicka p\345 'N\344sta' f\366r att forts\344tta",  // Swedish
};

const LocalisedText WindowTitle = {
    "Tallyfield Update",  // English
    "Actualizaci\363n Tallyfield",  // Spanish
    "Mise \340 jour de Tallyfield",  // French
    "Aggiornamento di Tallyfield",  // Italian
    "Oppdatering av Tallyfield",  // Norwegian
    "Tallyfield - Actualiza\347\343o",  // Portuguese
    "Tallyfield Uppdatering",  // Swedish
};

const LocalisedText NotInstalledText = {
    "Unable to find TLF installation",  // English
    "No se encuentra la instalaci\363n del TLF",  // Spanish
    "Installation de TLF introuvable",  // French
    "Impossibile trovare l'installazione di TLF",  // Italian
    "Klarer ikke \345 finne TLF",  // Norwegian
    "Incapaz de encontrar instala\347\343o do TLF",  // Portuguese
    "Kan ej hitta TLF installation",  // Swedish
};

const LocalisedText ReinstallText = {
    "Re-install TLF from CD and try again",  // English
    "Reinstala el TLF desde el CD e int\351ntalo de nuevo",  // Spanish
    "R\351installez le CD de TLF et r\351essayez",  // French
    "Installa nuovamente TLF e prova di nuovo",  // Italian
    "Innstaller TLF p\345 nytt fra CD og pr\370v igjen",  // Norwegian
    "Re-instalar o TLF a partir do CD e tentar novamente",  // Portuguese
    "Ominstallera TLF fr\345n CD:n och f\366rs\366k igen",  // Swedish
};

const LocalisedText InstalledVersionCaption = {
    "Current installed version:",  // English
    "Versi\363n actual instalada:",  // Spanish
    "Version actuellement install\351e:",  // French
    "Versione attualmente installata:",  // Italian
    "N\345v\346rende versjon:",  // Norwegian
    "Vers\343o instalada currentemente:",  // Portuguese
    "Nuvarande installerad version:",  // Swedish
};

const LocalisedText NewVersionCaption = {
    "New version to install:",  // English
    "Nueva versi\363n a instalar:",  // Spanish
    "Nouvelle version \340 installer:",  // French
    "Nuova versione da installare:",  // Italian
    "Innstallerer versjon:",  // Norwegian
    "Nova vers\343o a instalar:",  // Portuguese
    "Ny version att installera:",  // Swedish
};

const LocalisedText ClickNextToUpdateText = {
    "Click 'Next' to update",  // English
    "Pulsa en 'Siguiente' para actualizar",  // Spanish
    "Cliquez sur 'Suite' pour mettre \340 jour",  // French
    "Premi 'Avanti' per iniziare l'aggiornamento",  // Italian
    "Klikk 'Neste' for \345 oppdatere",  // Norwegian
    "Clique 'Seguinte' para actualizar",  // Portuguese
    "Klicka p\345 n\344sta f\366r att uppdatera",  // Swedish
};

const LocalisedText NotCompatibleText = {
    "This update is not compatible with your existing TLF installation. Please download the full update instead.",  // English
    "Esta actualizaci\363n no es compatible con tu instalaci\363n actual del TLF. Intenta bajarte de Internet la actualizaci\363n completa.",  // Spanish
    "Cette mise \340 jour n'est pas compatible avec la version de TLF install\351e sur votre ordinateur. Veuillez t\351l\351charger la mise \340 jour compl\350te.",  // French
    "Questo aggiornamento non \350 compatibile con la versione di TLF installata. Scarica la versione completa dell'aggiornamento.",  // Italian
    "Denne oppdateringer er ikke kompatibel med din n\345v\346rende versjon av TLF. Vennligst last ned den fulle oppdateringsversjonen i stedet.",  // Norwegian
    "Esta actualiza\347\343o n\343o \351 compat\355vel com a sua presente instala\347\343o do TLF. Por favor fa\347a o 'download' da actualiza\347\343o total.",  // Portuguese
    "Denna uppdatering \344r ej kompatibel med din tidigare TLF installation. Var v\344nlig ladda ner denna fulla updateringsversionen ist\344llet.",  // Swedish
};

const LocalisedText UpdatingText = {
    "Updating...",  // English
    "Actualizando...",  // Spanish
    "Mise \340 jour...",  // French
    "Aggiornamento in corso...",  // Italian
    "Oppdaterer...",  // Norwegian
    "Actualizando...",  // Portuguese
    "Uppdaterar...",  // Swedish
};

const LocalisedText CompletedText = {
    "Update completed",  // English
    "Actualizaci\363n completada",  // Spanish
    "Mise \340 jour r\351ussie",  // French
    "Aggiornamento completato",  // Italian
    "Oppdateringen er ferdig",  // Norwegian
    "Actualiza\347\343o terminada",  // Portuguese
    "Uppdatering klar",  // Swedish
};

const LocalisedText InstallCorruptText = {
    "TLF installation is corrupt",  // English
    "La instalaci\363n del TLF est\341 da\361ada",  // Spanish
    "L'installation de TLF est corrompue",  // French
    "L'installazione di TLF non \350 corretta",  // Italian
    "Feil ved TLF innstalleringen",  // Norwegian
    "Instala\347\343o do TLF est\341 corrompida",  // Portuguese
    "TLF installationen \344r skadad",  // Swedish
};

const LocalisedText PackageCorruptText = {
    "The update file is corrupt",  // English
    "El archivo de actualizaci\363n est\341 da\361ado",  // Spanish
    "Le fichier de mise \340 jour est corrompu",  // French
    "Il file di aggiornamento \350 alterato",  // Italian
    "Feil ved oppdateringsfilen",  // Norwegian
    "O ficheiro de actualiza\347\343o est\341 corrompido",  // Portuguese
    "Uppdateringsfilen \344r skadad",  // Swedish
};

const LocalisedText QuickStartOutdatedText = {
    "The quick start files from your original installation are out of date. They will still work, but will not contain the most recent data.",  // English
    "Los ficheros de partidas rapidas de tu instalacion original han caducado. Funcionan, pero no contienen los datos mas recientes.",  // Spanish
    "Les parties express stock\351es sur votre installation d'origine sont p\351rim\351es. Elles fonctionneront encore, mais ne contiendront pas les donn\351es les plus r\351centes.",  // French
    "I file di Avvio Rapido dell'installazione precedente non sono recenti. I file funzionano ancora, ma non contengono il database aggiornato.",  // Italian
    "Hurtigstartfilene fra din opprinnelige innstallering er for gamle. De vil fremdeles fungere, men vil ikke inneholde de nyeste dataene.",  // Norwegian
    "Os ficheiros de in\355cios r\341pidos est\343o desactualizados. Eles ainda ser\343o funcionais, mas n\343o incluem os dados mais recentes.",  // Portuguese
    "Dina snabbstartfiler fr\345n originalinstallationen \344r gamla. De kommer fortfarande att fungera, men inneh\345ller ej den senaste uppdateringarna.",  // Swedish
};

const LocalisedText DeleteQuickStartQuestion = {
    "Delete the quick start files (recommended) ?",  // English
    "\277Borrar los ficheros de partidas rapidas (recomendado)?",  // Spanish
    "Supprimer les parties express (recommand\351) ?",  // French
    "Vuoi cancellare i file di Avvio Rapido (raccomandato) ?",  // Italian
    "Slett hurtigstartfilene (anbefales) ?",  // Norwegian
    "Apagar os ficheiros de in\355cios r\341pidos (recomend\341vel) ?",  // Portuguese
    "Radera snabbstartsfiler (rekomenderas) ?",  // Swedish
};

const LocalisedText FolderPromptText = {
    "Type the folder where Tallyfield is installed, then click Next",  // English
    "Escribe la carpeta donde est\341 instalado Tallyfield y pulsa Siguiente",  // Spanish
    "Tapez le dossier o\371 Tallyfield est install\351, puis cliquez sur Suite",  // French
    "Scrivi la cartella in cui \350 installato Tallyfield, poi premi Avanti",  // Italian
    "Skriv inn mappen der Tallyfield er installert, og klikk Neste",  // Norwegian
    "Escreva a pasta onde o Tallyfield est\341 instalado, e clique Seguinte",  // Portuguese
    "Skriv mappen d\344r Tallyfield \344r installerat, och klicka p\345 N\344sta",  // Swedish
};

const LocalisedText WriteFailedText = {
    "Unable to write this file into the game folder:",  // English
    "No se puede escribir este fichero en la carpeta del juego:",  // Spanish
    "Impossible d'\351crire ce fichier dans le dossier du jeu:",  // French
    "Impossibile scrivere questo file nella cartella del gioco:",  // Italian
    "Klarer ikke \345 skrive denne filen til spillmappen:",  // Norwegian
    "Incapaz de escrever este ficheiro na pasta do jogo:",  // Portuguese
    "Kan ej skriva denna fil till spelmappen:",  // Swedish
};

const LocalisedText AccessDeniedText = {
    "Access was denied, or the file is read-only.",  // English
    "Acceso denegado, o el fichero es de solo lectura.",  // Spanish
    "Acc\350s refus\351, ou le fichier est en lecture seule.",  // French
    "Accesso negato, oppure il file \350 di sola lettura.",  // Italian
    "Ingen tilgang, eller filen er skrivebeskyttet.",  // Norwegian
    "Acesso negado, ou o ficheiro \351 s\363 de leitura.",  // Portuguese
    "\305tkomst nekad, eller filen \344r skrivskyddad.",  // Swedish
};

const LocalisedText FileInUseText = {
    "The file is in use by another program.",  // English
    "Otro programa est\341 usando el fichero.",  // Spanish
    "Le fichier est utilis\351 par un autre programme.",  // French
    "Il file \350 in uso da un altro programma.",  // Italian
    "Filen er i bruk av et annet program.",  // Norwegian
    "O ficheiro est\341 a ser usado por outro programa.",  // Portuguese
    "Filen anv\344nds av ett annat program.",  // Swedish
};

const LocalisedText DiskFullText = {
    "The disk is full.",  // English
    "El disco est\341 lleno.",  // Spanish
    "Le disque est plein.",  // French
    "Il disco \350 pieno.",  // Italian
    "Disken er full.",  // Norwegian
    "O disco est\341 cheio.",  // Portuguese
    "Disken \344r full.",  // Swedish
};

const LocalisedText FolderMissingText = {
    "The folder does not exist.",  // English
    "La carpeta no existe.",  // Spanish
    "Le dossier n'existe pas.",  // French
    "La cartella non esiste.",  // Italian
    "Mappen finnes ikke.",  // Norwegian
    "A pasta n\343o existe.",  // Portuguese
    "Mappen finns inte.",  // Swedish
};

const LocalisedText NameTooLongText = {
    "The name of the file is too long.",  // English
    "El nombre del fichero es demasiado largo.",  // Spanish
    "Le nom du fichier est trop long.",  // French
    "Il nome del file \350 troppo lungo.",  // Italian
    "Navnet p\345 filen er for langt.",  // Norwegian
    "O nome do ficheiro \351 demasiado longo.",  // Portuguese
    "Filens namn \344r f\366r l\345ngt.",  // Swedish
};

const LocalisedText NotPlainFolderText = {
    "It is a link or no folder: the update writes only into the game's own folders.",  // English
    "Es un enlace o no es una carpeta: la actualizaci\363n solo escribe en las carpetas del propio juego.",  // Spanish
    "C'est un lien ou pas un dossier: la mise \340 jour n'\351crit que dans les dossiers du jeu lui-m\352me.",  // French
    "\310 un collegamento o non \350 una cartella: l'aggiornamento scrive solo nelle cartelle del gioco stesso.",  // Italian
    "Dette er en lenke eller ingen mappe: oppdateringen skriver bare i spillets egne mapper.",  // Norwegian
    "\311 uma liga\347\343o ou n\343o \351 uma pasta: a actualiza\347\343o s\363 escreve nas pastas do pr\363prio jogo.",  // Portuguese
    "Detta \344r en l\344nk eller ingen mapp: uppdateringen skriver bara i spelets egna mappar.",  // Swedish
};

const LocalisedText WriteRefusedText = {
    "The system refused to write the file.",  // English
    "El sistema no permite escribir el fichero.",  // Spanish
    "Le syst\350me a refus\351 d'\351crire le fichier.",  // French
    "Il sistema non permette di scrivere il file.",  // Italian
    "Systemet nektet \345 skrive filen.",  // Norwegian
    "O sistema recusou escrever o ficheiro.",  // Portuguese
    "Systemet v\344grade skriva filen.",  // Swedish
};

const LocalisedText NotEnoughSpaceText = {
    "Not enough free space on the disk: %s needed, %s free.",  // English
    "No hay espacio suficiente en el disco: se necesitan %s, hay %s libres.",  // Spanish
    "Pas assez d'espace libre sur le disque: %s n\351cessaires, %s libres.",  // French
    "Spazio insufficiente sul disco: servono %s, liberi %s.",  // Italian
    "Ikke nok ledig plass p\345 disken: trenger %s, ledig %s.",  // Norwegian
    "Sem espa\347o livre suficiente no disco: s\343o precisos %s, livres %s.",  // Portuguese
    "Inte tillr\344ckligt med ledigt utrymme p\345 disken: %s beh\366vs, %s ledigt.",  // Swedish
};

const LocalisedText CloseProgramsAdvice = {
    "Close the game and any program using its files, then click < Back and Next to try again.",  // English
    "Cierra el juego y cualquier programa que use sus ficheros, y pulsa < Volver y Siguiente para intentarlo de nuevo.",  // Spanish
    "Fermez le jeu et tout programme utilisant ses fichiers, puis cliquez sur < Retour et Suite pour r\351essayer.",  // French
    "Chiudi il gioco e ogni programma che usa i suoi file, poi premi < Indietro e Avanti per riprovare.",  // Italian
    "Lukk spillet og alle programmer som bruker filene, og klikk < Tilbake og Neste for \345 pr\370ve igjen.",  // Norwegian
    "Feche o jogo e qualquer programa que use os seus ficheiros, e clique < Atr\341s e Seguinte para tentar novamente.",  // Portuguese
    "St\344ng spelet och alla program som anv\344nder dess filer, och klicka p\345 < Bak\345t och N\344sta f\366r att f\366rs\366ka igen.",  // Swedish
};

const LocalisedText FreeSpaceAdvice = {
    "Free some space on the disk, then click < Back and Next to try again.",  // English
    "Libera espacio en el disco y pulsa < Volver y Siguiente para intentarlo de nuevo.",  // Spanish
    "Lib\351rez de l'espace sur le disque, puis cliquez sur < Retour et Suite pour r\351essayer.",  // French
    "Libera spazio sul disco, poi premi < Indietro e Avanti per riprovare.",  // Italian
    "Frigj\370r plass p\345 disken, og klikk < Tilbake og Neste for \345 pr\370ve igjen.",  // Norwegian
    "Liberte espa\347o no disco, e clique < Atr\341s e Seguinte para tentar novamente.",  // Portuguese
    "Frig\366r utrymme p\345 disken, och klicka p\345 < Bak\345t och N\344sta f\366r att f\366rs\366ka igen.",  // Swedish
};

const LocalisedText ChooseFolderAdvice = {
    "Click < Back to choose another folder.",  // English
    "Pulsa < Volver para elegir otra carpeta.",  // Spanish
    "Cliquez sur < Retour pour choisir un autre dossier.",  // French
    "Premi < Indietro per scegliere un'altra cartella.",  // Italian
    "Klikk < Tilbake for \345 velge en annen mappe.",  // Norwegian
    "Clique < Atr\341s para escolher outra pasta.",  // Portuguese
    "Klicka p\345 < Bak\345t f\366r att v\344lja en annan mapp.",  // Swedish
};

const LocalisedText GameLeftAsItWasText = {
    "The game was left as it was.",  // English
    "El juego se ha dejado como estaba.",  // Spanish
    "Le jeu a \351t\351 laiss\351 tel qu'il \351tait.",  // French
    "Il gioco \350 stato lasciato com'era.",  // Italian
    "Spillet er latt v\346re som det var.",  // Norwegian
    "O jogo foi deixado como estava.",  // Portuguese
    "Spelet har l\344mnats som det var.",  // Swedish
};

const LocalisedText ExitLeavesGameText = {
    "Click Exit to leave the game as it was.",  // English
    "Pulsa Salir para dejar el juego como estaba.",  // Spanish
    "Cliquez sur Quitter pour laisser le jeu tel qu'il \351tait.",  // French
    "Premi Esci per lasciare il gioco com'era.",  // Italian
    "Klikk Avslutt for \345 la spillet v\346re som det var.",  // Norwegian
    "Clique Sair para deixar o jogo como estava.",  // Portuguese
    "Klicka p\345 Avsluta f\366r att l\344mna spelet som det var.",  // Swedish
};

const char NewVersionText[] = "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)";
const char ReleaseVersionName[] = "Release";
const char ReleaseVersionText[] = "Version 3.02 (ENG)";
