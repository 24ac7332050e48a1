"""Sample licence and privacy texts, part 3: Portuguese, German, French, Dutch."""

TEXTS = {}

TEXTS["Portugal"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Contrato de Licença (exemplo)",
        "note": "DOCUMENTO DE EXEMPLO: este texto é um marcador de posição fornecido com o instalador. "
                "Quem empacota e distribui o driver substitui-o pelos seus próprios termos de licença.",
        "sections": [
            ("1. Concessão.", "Pode instalar e utilizar o Label Printer Driver em qualquer número de computadores "
                              "para imprimir com as impressoras de etiquetas suportadas."),
            ("2. Restrições.", "Não pode vender o driver separadamente nem remover os avisos nele contidos. "
                               "São permitidas cópias para instalação dentro da sua organização."),
            ("3. Propriedade.", "O driver é licenciado, não vendido. Todos os direitos não concedidos expressamente "
                                "permanecem com o licenciante."),
            ("4. Sem garantia.", "O driver é fornecido \"tal como está\", sem qualquer tipo de garantia. Na medida "
                                 "permitida por lei, o licenciante não é responsável por danos resultantes da sua utilização."),
            ("5. Cessação.", "Esta licença cessa se violar os seus termos; nesse caso, deve remover o driver."),
        ],
        "closing": "Ao assinalar a caixa no instalador, confirma que leu e aceita estes termos.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Política de Privacidade (exemplo)",
        "note": "DOCUMENTO DE EXEMPLO: este texto é um marcador de posição fornecido com o instalador. "
                "Quem empacota e distribui o driver substitui-o pela sua própria política de privacidade.",
        "sections": [
            ("Dados tratados.", "O instalador e o driver funcionam apenas neste computador. Leem o modelo da impressora, "
                                "a sua porta USB ou endereço de rede e as definições que escolher, para instalar e "
                                "configurar a impressora."),
            ("Dados enviados.", "O instalador envia dados apenas para a própria impressora, por exemplo o nome e a senha "
                                "da rede WiFi introduzidos na página WiFi. Nada é enviado ao fabricante nem a terceiros."),
            ("Dados guardados.", "As definições da impressora e os tamanhos de etiqueta personalizados são guardados nas "
                                 "definições de impressoras do Windows e num ficheiro de definições neste computador. "
                                 "A remoção do driver apaga as suas impressoras e definições."),
            ("Contacto.", "Dirija as questões sobre esta política ao distribuidor indicado no suporte que recebeu."),
        ],
        "closing": "Ao assinalar a caixa no instalador, confirma que leu esta política.",
    },
}

TEXTS["German"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Lizenzvereinbarung (Muster)",
        "note": "MUSTERDOKUMENT: Dieser Text ist ein Platzhalter, der dem Installationsprogramm beiliegt. "
                "Wer den Treiber zusammenstellt und verteilt, ersetzt ihn durch seine eigenen Lizenzbedingungen.",
        "sections": [
            ("1. Nutzungsrecht.", "Sie dürfen den Label Printer Driver auf beliebig vielen Computern installieren und "
                                  "verwenden, um mit den unterstützten Etikettendruckern zu drucken."),
            ("2. Einschränkungen.", "Sie dürfen den Treiber nicht einzeln verkaufen und keine Hinweise daraus entfernen. "
                                    "Kopien zur Installation innerhalb Ihrer Organisation sind erlaubt."),
            ("3. Eigentum.", "Der Treiber wird lizenziert, nicht verkauft. Alle nicht ausdrücklich gewährten Rechte "
                             "verbleiben beim Lizenzgeber."),
            ("4. Keine Gewährleistung.", "Der Treiber wird ohne Mängelgewähr bereitgestellt. Soweit gesetzlich zulässig, "
                                         "haftet der Lizenzgeber nicht für Schäden aus seiner Verwendung."),
            ("5. Beendigung.", "Diese Lizenz endet, wenn Sie gegen ihre Bedingungen verstoßen; Sie müssen den Treiber "
                               "dann entfernen."),
        ],
        "closing": "Mit dem Setzen des Häkchens im Installationsprogramm bestätigen Sie, dass Sie diese Bedingungen "
                   "gelesen haben und annehmen.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Datenschutzerklärung (Muster)",
        "note": "MUSTERDOKUMENT: Dieser Text ist ein Platzhalter, der dem Installationsprogramm beiliegt. "
                "Wer den Treiber zusammenstellt und verteilt, ersetzt ihn durch seine eigene Datenschutzerklärung.",
        "sections": [
            ("Verarbeitete Daten.", "Das Installationsprogramm und der Treiber arbeiten nur auf diesem Computer. Sie lesen "
                                    "das Druckermodell, seinen USB-Anschluss oder seine Netzwerkadresse und die von Ihnen "
                                    "gewählten Einstellungen, um den Drucker zu installieren und einzurichten."),
            ("Übermittelte Daten.", "Das Installationsprogramm sendet Daten nur an den Drucker selbst, zum Beispiel den "
                                    "WLAN-Namen und das Kennwort, die Sie auf der WLAN-Seite eingeben. Es werden keine Daten "
                                    "an den Hersteller oder an Dritte gesendet."),
            ("Gespeicherte Daten.", "Druckereinstellungen und eigene Etikettengrößen werden in den Druckereinstellungen "
                                    "von Windows und in einer Einstellungsdatei auf diesem Computer gespeichert. Beim "
                                    "Entfernen des Treibers werden seine Drucker und Einstellungen gelöscht."),
            ("Kontakt.", "Fragen zu dieser Erklärung richten Sie an den Anbieter, der auf dem erhaltenen Datenträger genannt ist."),
        ],
        "closing": "Mit dem Setzen des Häkchens im Installationsprogramm bestätigen Sie, dass Sie diese Erklärung gelesen haben.",
    },
}

TEXTS["French"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Contrat de licence (exemple)",
        "note": "DOCUMENT D'EXEMPLE : ce texte est un contenu provisoire fourni avec le programme d'installation. "
                "Celui qui assemble et distribue le pilote le remplace par ses propres conditions de licence.",
        "sections": [
            ("1. Concession.", "Vous pouvez installer et utiliser Label Printer Driver sur un nombre quelconque "
                               "d'ordinateurs pour imprimer avec les imprimantes d'étiquettes prises en charge."),
            ("2. Restrictions.", "Vous ne pouvez ni vendre le pilote séparément ni en retirer les mentions. Les copies "
                                 "destinées à l'installation au sein de votre organisation sont autorisées."),
            ("3. Propriété.", "Le pilote est concédé sous licence, non vendu. Tous les droits non expressément accordés "
                              "restent au concédant."),
            ("4. Absence de garantie.", "Le pilote est fourni « en l'état », sans garantie d'aucune sorte. Dans les limites "
                                        "autorisées par la loi, le concédant n'est pas responsable des dommages résultant de son utilisation."),
            ("5. Résiliation.", "Cette licence prend fin si vous en enfreignez les conditions ; vous devez alors supprimer le pilote."),
        ],
        "closing": "En cochant la case dans le programme d'installation, vous confirmez avoir lu et accepté ces conditions.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Politique de confidentialité (exemple)",
        "note": "DOCUMENT D'EXEMPLE : ce texte est un contenu provisoire fourni avec le programme d'installation. "
                "Celui qui assemble et distribue le pilote le remplace par sa propre politique de confidentialité.",
        "sections": [
            ("Données traitées.", "Le programme d'installation et le pilote fonctionnent uniquement sur cet ordinateur. "
                                  "Ils lisent le modèle de l'imprimante, son port USB ou son adresse réseau et les réglages "
                                  "que vous choisissez, afin d'installer et de configurer l'imprimante."),
            ("Données envoyées.", "Le programme d'installation n'envoie des données qu'à l'imprimante elle-même, par exemple "
                                  "le nom et le mot de passe WiFi saisis sur la page WiFi. Rien n'est envoyé au fabricant "
                                  "ni à des tiers."),
            ("Données enregistrées.", "Les réglages de l'imprimante et les formats d'étiquette personnalisés sont conservés "
                                      "dans les paramètres d'imprimante de Windows et dans un fichier de réglages sur cet "
                                      "ordinateur. La suppression du pilote efface ses imprimantes et ses réglages."),
            ("Contact.", "Adressez vos questions sur cette politique au distributeur indiqué sur le support que vous avez reçu."),
        ],
        "closing": "En cochant la case dans le programme d'installation, vous confirmez avoir lu cette politique.",
    },
}

TEXTS["Dutch"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Licentieovereenkomst (voorbeeld)",
        "note": "VOORBEELDDOCUMENT: deze tekst is een tijdelijke tekst die bij het installatieprogramma wordt geleverd. "
                "Wie het stuurprogramma samenstelt en verspreidt, vervangt deze door de eigen licentievoorwaarden.",
        "sections": [
            ("1. Verlening.", "U mag Label Printer Driver op een willekeurig aantal computers installeren en gebruiken "
                              "om af te drukken met de ondersteunde labelprinters."),
            ("2. Beperkingen.", "U mag het stuurprogramma niet afzonderlijk verkopen en geen vermeldingen eruit "
                                "verwijderen. Kopieën voor installatie binnen uw organisatie zijn toegestaan."),
            ("3. Eigendom.", "Het stuurprogramma wordt in licentie gegeven, niet verkocht. Alle rechten die niet "
                             "uitdrukkelijk worden verleend, blijven bij de licentiegever."),
            ("4. Geen garantie.", "Het stuurprogramma wordt geleverd \"zoals het is\", zonder enige garantie. Voor zover "
                                  "de wet dit toestaat, is de licentiegever niet aansprakelijk voor schade door het gebruik ervan."),
            ("5. Beëindiging.", "Deze licentie eindigt als u de voorwaarden schendt; u moet het stuurprogramma dan verwijderen."),
        ],
        "closing": "Door het vakje in het installatieprogramma aan te vinken, bevestigt u dat u deze voorwaarden hebt "
                   "gelezen en aanvaardt.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Privacybeleid (voorbeeld)",
        "note": "VOORBEELDDOCUMENT: deze tekst is een tijdelijke tekst die bij het installatieprogramma wordt geleverd. "
                "Wie het stuurprogramma samenstelt en verspreidt, vervangt deze door het eigen privacybeleid.",
        "sections": [
            ("Verwerkte gegevens.", "Het installatieprogramma en het stuurprogramma werken alleen op deze computer. Ze lezen "
                                    "het printermodel, de USB-poort of het netwerkadres en de instellingen die u kiest, om "
                                    "de printer te installeren en te configureren."),
            ("Verzonden gegevens.", "Het installatieprogramma verzendt alleen gegevens naar de printer zelf, bijvoorbeeld de "
                                    "WiFi-naam en het wachtwoord die u op de WiFi-pagina invoert. Er wordt niets naar de "
                                    "fabrikant of naar derden verzonden."),
            ("Opgeslagen gegevens.", "Printerinstellingen en aangepaste labelformaten worden bewaard in de printerinstellingen "
                                     "van Windows en in een instellingenbestand op deze computer. Bij het verwijderen van het "
                                     "stuurprogramma worden de printers en instellingen ervan gewist."),
            ("Contact.", "Vragen over dit beleid richt u aan de distributeur die op de ontvangen drager wordt vermeld."),
        ],
        "closing": "Door het vakje in het installatieprogramma aan te vinken, bevestigt u dat u dit beleid hebt gelezen.",
    },
}
