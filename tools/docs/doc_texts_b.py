"""Sample licence and privacy texts, part 2: Italian, Spanish, Turkish, Polish, Thai."""

TEXTS = {}

TEXTS["Italian"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Contratto di licenza (esempio)",
        "note": "DOCUMENTO DI ESEMPIO: questo testo è un segnaposto fornito con il programma di installazione. "
                "Chi assembla e distribuisce il driver lo sostituisce con le proprie condizioni di licenza.",
        "sections": [
            ("1. Concessione.", "È possibile installare e utilizzare Label Printer Driver su un numero qualsiasi di "
                                "computer per stampare con le stampanti di etichette supportate."),
            ("2. Limitazioni.", "Non è consentito vendere il driver separatamente né rimuovere le note in esso contenute. "
                                "Le copie per l'installazione all'interno della propria organizzazione sono consentite."),
            ("3. Proprietà.", "Il driver viene concesso in licenza, non venduto. Tutti i diritti non espressamente "
                              "concessi restano al licenziante."),
            ("4. Nessuna garanzia.", "Il driver viene fornito \"così com'è\", senza garanzie di alcun tipo. Nei limiti "
                                     "consentiti dalla legge, il licenziante non risponde dei danni derivanti dal suo utilizzo."),
            ("5. Cessazione.", "La licenza cessa in caso di violazione dei suoi termini; in tal caso il driver deve essere rimosso."),
        ],
        "closing": "Selezionando la casella nel programma di installazione si conferma di aver letto e accettato queste condizioni.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Informativa sulla privacy (esempio)",
        "note": "DOCUMENTO DI ESEMPIO: questo testo è un segnaposto fornito con il programma di installazione. "
                "Chi assembla e distribuisce il driver lo sostituisce con la propria informativa sulla privacy.",
        "sections": [
            ("Dati trattati.", "Il programma di installazione e il driver funzionano solo su questo computer. Leggono il "
                               "modello della stampante, la porta USB o l'indirizzo di rete e le impostazioni scelte, per "
                               "installare e configurare la stampante."),
            ("Dati inviati.", "Il programma di installazione invia dati solo alla stampante stessa, ad esempio il nome e "
                              "la password WiFi immessi nella pagina WiFi. Nulla viene inviato al produttore o a terzi."),
            ("Dati memorizzati.", "Le impostazioni della stampante e i formati di etichetta personalizzati sono conservati "
                                  "nelle impostazioni stampante di Windows e in un file di impostazioni su questo computer. "
                                  "La rimozione del driver elimina le relative stampanti e impostazioni."),
            ("Contatti.", "Per domande su questa informativa rivolgersi al distributore indicato sul supporto ricevuto."),
        ],
        "closing": "Selezionando la casella nel programma di installazione si conferma di aver letto questa informativa.",
    },
}

TEXTS["Spanish"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Contrato de licencia (muestra)",
        "note": "DOCUMENTO DE MUESTRA: este texto es un marcador de posición incluido con el instalador. "
                "Quien empaquete y distribuya el controlador debe sustituirlo por sus propios términos de licencia.",
        "sections": [
            ("1. Concesión.", "Puede instalar y usar Label Printer Driver en cualquier número de computadoras para "
                              "imprimir con las impresoras de etiquetas compatibles."),
            ("2. Restricciones.", "No puede vender el controlador por separado ni eliminar los avisos que contiene. "
                                  "Se permiten copias para instalarlo dentro de su organización."),
            ("3. Propiedad.", "El controlador se otorga bajo licencia, no se vende. Todos los derechos no concedidos "
                              "expresamente quedan reservados al licenciante."),
            ("4. Sin garantía.", "El controlador se proporciona \"tal cual\", sin garantía de ningún tipo. En la medida "
                                 "en que lo permita la ley, el licenciante no es responsable de los daños derivados de su uso."),
            ("5. Terminación.", "Esta licencia termina si usted incumple sus términos; en ese caso debe eliminar el controlador."),
        ],
        "closing": "Al marcar la casilla en el instalador, confirma que ha leído y acepta estos términos.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Política de privacidad (muestra)",
        "note": "DOCUMENTO DE MUESTRA: este texto es un marcador de posición incluido con el instalador. "
                "Quien empaquete y distribuya el controlador debe sustituirlo por su propia política de privacidad.",
        "sections": [
            ("Datos que se procesan.", "El instalador y el controlador funcionan solo en esta computadora. Leen el modelo "
                                       "de la impresora, su puerto USB o dirección de red y la configuración que usted elige, "
                                       "para instalar y configurar la impresora."),
            ("Datos que se envían.", "El instalador envía datos solo a la propia impresora, por ejemplo el nombre y la "
                                     "contraseña WiFi que ingresa en la página WiFi. No se envía nada al fabricante ni a terceros."),
            ("Datos que se guardan.", "La configuración de la impresora y los tamaños de etiqueta personalizados se guardan "
                                      "en la configuración de impresoras de Windows y en un archivo de configuración en esta "
                                      "computadora. Al eliminar el controlador se borran sus impresoras y su configuración."),
            ("Contacto.", "Dirija sus preguntas sobre esta política al distribuidor indicado en el medio que recibió."),
        ],
        "closing": "Al marcar la casilla en el instalador, confirma que ha leído esta política.",
    },
}

TEXTS["Turkish"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Lisans Sözleşmesi (örnek)",
        "note": "ÖRNEK BELGE: bu metin, kurulum programıyla birlikte gelen bir yer tutucudur. "
                "Sürücüyü paketleyen ve dağıtan taraf bu metni kendi lisans koşullarıyla değiştirir.",
        "sections": [
            ("1. Lisans hakkı.", "Label Printer Driver'ı, desteklediği etiket yazıcılarıyla yazdırmak için istediğiniz "
                                 "sayıda bilgisayara yükleyip kullanabilirsiniz."),
            ("2. Kısıtlamalar.", "Sürücüyü tek başına satamaz ve içindeki bildirimleri kaldıramazsınız. Kuruluşunuz "
                                 "içinde yüklemek amacıyla kopyalamaya izin verilir."),
            ("3. Mülkiyet.", "Sürücü satılmaz, lisanslanır. Açıkça verilmeyen tüm haklar lisans verene aittir."),
            ("4. Garanti yoktur.", "Sürücü hiçbir garanti olmaksızın \"olduğu gibi\" sağlanır. Yasaların izin verdiği "
                                   "ölçüde lisans veren, kullanımından doğan zararlardan sorumlu değildir."),
            ("5. Sona erme.", "Koşullarını ihlal etmeniz durumunda bu lisans sona erer; bu durumda sürücüyü kaldırmanız gerekir."),
        ],
        "closing": "Kurulum programındaki kutuyu işaretleyerek bu koşulları okuduğunuzu ve kabul ettiğinizi onaylarsınız.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Gizlilik Politikası (örnek)",
        "note": "ÖRNEK BELGE: bu metin, kurulum programıyla birlikte gelen bir yer tutucudur. "
                "Sürücüyü paketleyen ve dağıtan taraf bu metni kendi gizlilik politikasıyla değiştirir.",
        "sections": [
            ("İşlenen veriler.", "Kurulum programı ve sürücü yalnızca bu bilgisayarda çalışır. Yazıcıyı yüklemek ve "
                                 "yapılandırmak için yazıcı modelini, USB bağlantı noktasını veya ağ adresini ve seçtiğiniz "
                                 "ayarları okur."),
            ("Gönderilen veriler.", "Kurulum programı verileri yalnızca yazıcının kendisine gönderir; örneğin WiFi "
                                    "sayfasında girdiğiniz WiFi adı ve şifresi. Üreticiye veya üçüncü taraflara hiçbir şey gönderilmez."),
            ("Saklanan veriler.", "Yazıcı ayarları ve özel etiket boyutları, Windows yazıcı ayarlarında ve bu bilgisayardaki "
                                  "bir ayar dosyasında saklanır. Sürücü kaldırıldığında yazıcıları ve ayarları silinir."),
            ("İletişim.", "Bu politikayla ilgili sorularınızı, aldığınız ortam üzerinde adı geçen dağıtıcıya iletin."),
        ],
        "closing": "Kurulum programındaki kutuyu işaretleyerek bu politikayı okuduğunuzu onaylarsınız.",
    },
}

TEXTS["Polish"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Umowa licencyjna (wzór)",
        "note": "DOKUMENT WZORCOWY: ten tekst jest treścią zastępczą dołączoną do instalatora. "
                "Podmiot, który pakuje i rozpowszechnia sterownik, zastępuje go własnymi warunkami licencji.",
        "sections": [
            ("1. Udzielenie licencji.", "Możesz instalować i używać Label Printer Driver na dowolnej liczbie komputerów, "
                                        "aby drukować na obsługiwanych drukarkach etykiet."),
            ("2. Ograniczenia.", "Nie wolno sprzedawać sterownika osobno ani usuwać z niego informacji. Kopiowanie "
                                 "w celu instalacji w Twojej organizacji jest dozwolone."),
            ("3. Własność.", "Sterownik jest licencjonowany, a nie sprzedawany. Wszelkie prawa nieprzyznane wyraźnie "
                             "pozostają przy licencjodawcy."),
            ("4. Brak gwarancji.", "Sterownik jest dostarczany w stanie \"takim, jaki jest\", bez jakiejkolwiek gwarancji. "
                                   "W zakresie dozwolonym przez prawo licencjodawca nie odpowiada za szkody wynikłe z jego używania."),
            ("5. Rozwiązanie.", "Licencja wygasa w razie naruszenia jej warunków; należy wówczas usunąć sterownik."),
        ],
        "closing": "Zaznaczając pole w instalatorze, potwierdzasz, że przeczytałeś i akceptujesz te warunki.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Polityka prywatności (wzór)",
        "note": "DOKUMENT WZORCOWY: ten tekst jest treścią zastępczą dołączoną do instalatora. "
                "Podmiot, który pakuje i rozpowszechnia sterownik, zastępuje go własną polityką prywatności.",
        "sections": [
            ("Przetwarzane dane.", "Instalator i sterownik działają wyłącznie na tym komputerze. Odczytują model drukarki, "
                                   "jej port USB lub adres sieciowy oraz wybrane przez Ciebie ustawienia, aby zainstalować "
                                   "i skonfigurować drukarkę."),
            ("Wysyłane dane.", "Instalator wysyła dane wyłącznie do samej drukarki, na przykład nazwę i hasło sieci WiFi "
                               "wprowadzone na stronie WiFi. Nic nie jest wysyłane do producenta ani do osób trzecich."),
            ("Przechowywane dane.", "Ustawienia drukarki i niestandardowe rozmiary etykiet są przechowywane w ustawieniach "
                                    "drukarek systemu Windows oraz w pliku ustawień na tym komputerze. Usunięcie sterownika "
                                    "usuwa jego drukarki i ustawienia."),
            ("Kontakt.", "Pytania dotyczące tej polityki kieruj do dystrybutora wskazanego na otrzymanym nośniku."),
        ],
        "closing": "Zaznaczając pole w instalatorze, potwierdzasz, że przeczytałeś tę politykę.",
    },
}

# Thai: phrases are separated by spaces so that both the RTF view and the PDF
# line breaker find places to wrap.
TEXTS["Thailand"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 ข้อตกลงการอนุญาตให้ใช้สิทธิ์ (ตัวอย่าง)",
        "note": "เอกสารตัวอย่าง: ข้อความนี้เป็นเนื้อหาชั่วคราวที่มาพร้อมกับโปรแกรมติดตั้ง "
                "ผู้ที่จัดทำแพ็กเกจและเผยแพร่ไดรเวอร์ จะต้องแทนที่ด้วยเงื่อนไขการอนุญาตของตนเอง",
        "sections": [
            ("1. การให้สิทธิ์", "คุณสามารถติดตั้งและใช้ Label Printer Driver บนคอมพิวเตอร์กี่เครื่องก็ได้ "
                              "เพื่อพิมพ์กับเครื่องพิมพ์ฉลากที่รองรับ"),
            ("2. ข้อจำกัด", "คุณไม่สามารถขายไดรเวอร์แยกต่างหาก หรือลบประกาศใด ๆ ออกจากไดรเวอร์ "
                          "อนุญาตให้ทำสำเนาเพื่อติดตั้งภายในองค์กรของคุณ"),
            ("3. กรรมสิทธิ์", "ไดรเวอร์นี้เป็นการอนุญาตให้ใช้สิทธิ์ ไม่ใช่การขาย "
                            "สิทธิ์ทั้งหมดที่ไม่ได้ให้ไว้อย่างชัดแจ้ง ยังคงเป็นของผู้อนุญาต"),
            ("4. ไม่มีการรับประกัน", "ไดรเวอร์นี้จัดให้ \"ตามสภาพ\" โดยไม่มีการรับประกันใด ๆ "
                                   "ภายในขอบเขตที่กฎหมายอนุญาต ผู้อนุญาตไม่รับผิดชอบต่อความเสียหาย ที่เกิดจากการใช้งาน"),
            ("5. การสิ้นสุด", "สิทธิ์นี้จะสิ้นสุดลงหากคุณละเมิดเงื่อนไข ในกรณีนั้นคุณต้องลบไดรเวอร์ออก"),
        ],
        "closing": "การทำเครื่องหมายในช่องของโปรแกรมติดตั้ง ถือว่าคุณยืนยันว่าได้อ่านและยอมรับเงื่อนไขเหล่านี้แล้ว",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 นโยบายความเป็นส่วนตัว (ตัวอย่าง)",
        "note": "เอกสารตัวอย่าง: ข้อความนี้เป็นเนื้อหาชั่วคราวที่มาพร้อมกับโปรแกรมติดตั้ง "
                "ผู้ที่จัดทำแพ็กเกจและเผยแพร่ไดรเวอร์ จะต้องแทนที่ด้วยนโยบายความเป็นส่วนตัวของตนเอง",
        "sections": [
            ("ข้อมูลที่ประมวลผล", "โปรแกรมติดตั้งและไดรเวอร์ทำงานบนคอมพิวเตอร์เครื่องนี้เท่านั้น "
                                "โดยอ่านรุ่นของเครื่องพิมพ์ พอร์ต USB หรือที่อยู่เครือข่าย และการตั้งค่าที่คุณเลือก "
                                "เพื่อติดตั้งและกำหนดค่าเครื่องพิมพ์"),
            ("ข้อมูลที่ส่ง", "โปรแกรมติดตั้งส่งข้อมูลไปยังเครื่องพิมพ์เท่านั้น "
                           "เช่น ชื่อและรหัสผ่าน WiFi ที่คุณป้อนในหน้า WiFi "
                           "ไม่มีการส่งข้อมูลใด ๆ ไปยังผู้ผลิตหรือบุคคลที่สาม"),
            ("ข้อมูลที่จัดเก็บ", "การตั้งค่าเครื่องพิมพ์และขนาดฉลากที่กำหนดเอง จัดเก็บไว้ในการตั้งค่าเครื่องพิมพ์ของ Windows "
                               "และในไฟล์การตั้งค่าบนคอมพิวเตอร์เครื่องนี้ "
                               "การลบไดรเวอร์จะลบเครื่องพิมพ์และการตั้งค่าของไดรเวอร์ด้วย"),
            ("ติดต่อ", "หากมีคำถามเกี่ยวกับนโยบายนี้ โปรดติดต่อผู้จัดจำหน่ายที่ระบุไว้บนสื่อที่คุณได้รับ"),
        ],
        "closing": "การทำเครื่องหมายในช่องของโปรแกรมติดตั้ง ถือว่าคุณยืนยันว่าได้อ่านนโยบายนี้แล้ว",
    },
}
