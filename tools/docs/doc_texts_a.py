"""Sample licence and privacy texts, part 1: English, Chinese, Russian, Japanese.

Every document says it is a sample that the packager replaces. Each entry:
title, note (the sample marking), sections as (heading, body), closing line.
"""

TEXTS = {}

TEXTS["English"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Licence Agreement (sample)",
        "note": "SAMPLE DOCUMENT: this text is a placeholder supplied with the installer. "
                "Whoever packages and distributes the driver replaces it with their own licence terms.",
        "sections": [
            ("1. Grant.", "You may install and use the Label Printer Driver on any number of computers "
                          "to print with the label printers it supports."),
            ("2. Restrictions.", "You may not sell the driver on its own or remove notices from it. "
                                 "Copies made to install it within your organisation are allowed."),
            ("3. Ownership.", "The driver is licensed, not sold. All rights not expressly granted "
                              "remain with the licensor."),
            ("4. No warranty.", "The driver is provided \"as is\", without warranty of any kind. To the "
                                "extent permitted by law, the licensor is not liable for damage arising from its use."),
            ("5. Termination.", "This licence ends if you break its terms; you must then remove the driver."),
        ],
        "closing": "By ticking the box in the installer you confirm that you have read and accept these terms.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Privacy Policy (sample)",
        "note": "SAMPLE DOCUMENT: this text is a placeholder supplied with the installer. "
                "Whoever packages and distributes the driver replaces it with their own privacy policy.",
        "sections": [
            ("What is processed.", "The installer and the driver work on this computer only. They read the "
                                   "printer model, its USB port or network address and the settings you choose, "
                                   "in order to install and configure the printer."),
            ("What is sent.", "The installer sends data only to the printer itself, for example the WiFi name "
                              "and password you enter on the WiFi page. Nothing is sent to the manufacturer or to third parties."),
            ("What is stored.", "Printer settings and custom label sizes are kept in the Windows printer settings "
                                "and in a settings file on this computer. Removing the driver deletes its printers and settings."),
            ("Contact.", "Questions about this policy go to the distributor named on the medium you received."),
        ],
        "closing": "By ticking the box in the installer you confirm that you have read this policy.",
    },
}

TEXTS["Simplified_Chinese"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 许可协议（样本）",
        "note": "样本文档：本文本是随安装程序提供的占位内容。打包和分发本驱动程序的一方应将其替换为自己的许可条款。",
        "sections": [
            ("1. 授权。", "您可以在任意数量的计算机上安装和使用 Label Printer Driver，以便使用其支持的标签打印机进行打印。"),
            ("2. 限制。", "您不得单独出售本驱动程序，也不得删除其中的声明。允许为在贵组织内部安装而进行复制。"),
            ("3. 所有权。", "本驱动程序是授权使用，而非出售。未明确授予的一切权利均归许可方所有。"),
            ("4. 免责声明。", "本驱动程序按“原样”提供，不附带任何形式的保证。在法律允许的范围内，许可方不对因使用本驱动程序造成的损失承担责任。"),
            ("5. 终止。", "如果您违反本协议条款，本许可即告终止；届时您必须删除本驱动程序。"),
        ],
        "closing": "在安装程序中勾选复选框，即表示您确认已阅读并接受这些条款。",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 隐私政策（样本）",
        "note": "样本文档：本文本是随安装程序提供的占位内容。打包和分发本驱动程序的一方应将其替换为自己的隐私政策。",
        "sections": [
            ("处理的信息。", "安装程序和驱动程序仅在本计算机上运行。它们读取打印机型号、USB 端口或网络地址以及您选择的设置，用于安装和配置打印机。"),
            ("发送的信息。", "安装程序仅向打印机本身发送数据，例如您在 WiFi 页面输入的 WiFi 名称和密码。不会向制造商或任何第三方发送信息。"),
            ("存储的信息。", "打印机设置和自定义标签尺寸保存在 Windows 打印机设置和本计算机上的设置文件中。卸载驱动程序时会删除其打印机和设置。"),
            ("联系方式。", "有关本政策的问题，请联系您所收到介质上注明的分发方。"),
        ],
        "closing": "在安装程序中勾选复选框，即表示您确认已阅读本政策。",
    },
}

TEXTS["Traditional_Chinese"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 授權合約（範本）",
        "note": "範本文件：本文字是隨安裝程式提供的預留內容。封裝並散布本驅動程式的一方應將其替換為自己的授權條款。",
        "sections": [
            ("1. 授權。", "您可以在任意數量的電腦上安裝並使用 Label Printer Driver，以便使用其支援的標籤印表機列印。"),
            ("2. 限制。", "您不得單獨出售本驅動程式，亦不得移除其中的聲明。允許為在貴組織內部安裝而進行複製。"),
            ("3. 所有權。", "本驅動程式是授權使用，而非出售。未明確授予的一切權利均歸授權方所有。"),
            ("4. 免責聲明。", "本驅動程式依「現狀」提供，不附帶任何形式的保證。在法律允許的範圍內，授權方不對因使用本驅動程式造成的損失負責。"),
            ("5. 終止。", "如果您違反本合約條款，本授權即告終止；屆時您必須移除本驅動程式。"),
        ],
        "closing": "在安裝程式中勾選核取方塊，即表示您確認已閱讀並接受這些條款。",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 隱私權政策（範本）",
        "note": "範本文件：本文字是隨安裝程式提供的預留內容。封裝並散布本驅動程式的一方應將其替換為自己的隱私權政策。",
        "sections": [
            ("處理的資訊。", "安裝程式與驅動程式僅在本電腦上執行。它們讀取印表機型號、USB 連接埠或網路位址以及您選擇的設定，用於安裝及設定印表機。"),
            ("傳送的資訊。", "安裝程式僅將資料傳送至印表機本身，例如您在 WiFi 頁面輸入的 WiFi 名稱與密碼。不會將任何資訊傳送給製造商或第三方。"),
            ("儲存的資訊。", "印表機設定與自訂標籤尺寸儲存在 Windows 印表機設定及本電腦上的設定檔中。解除安裝驅動程式時會刪除其印表機與設定。"),
            ("聯絡方式。", "有關本政策的問題，請洽詢您所收到媒體上註明的經銷商。"),
        ],
        "closing": "在安裝程式中勾選核取方塊，即表示您確認已閱讀本政策。",
    },
}

TEXTS["Russian"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 Лицензионное соглашение (образец)",
        "note": "ОБРАЗЕЦ ДОКУМЕНТА: этот текст является заготовкой, поставляемой с программой установки. "
                "Тот, кто собирает и распространяет драйвер, заменяет его собственными условиями лицензии.",
        "sections": [
            ("1. Предоставление прав.", "Вы можете устанавливать и использовать Label Printer Driver на любом "
                                        "количестве компьютеров для печати на поддерживаемых принтерах этикеток."),
            ("2. Ограничения.", "Запрещается продавать драйвер отдельно или удалять из него уведомления. "
                                "Копирование для установки внутри вашей организации разрешено."),
            ("3. Права собственности.", "Драйвер предоставляется по лицензии, а не продаётся. Все права, "
                                        "не предоставленные явно, остаются за лицензиаром."),
            ("4. Отказ от гарантий.", "Драйвер предоставляется «как есть», без каких-либо гарантий. В пределах, "
                                      "допускаемых законом, лицензиар не несёт ответственности за ущерб от его использования."),
            ("5. Прекращение.", "Лицензия прекращается при нарушении её условий; в этом случае вы должны удалить драйвер."),
        ],
        "closing": "Отмечая флажок в программе установки, вы подтверждаете, что прочитали и принимаете эти условия.",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 Политика конфиденциальности (образец)",
        "note": "ОБРАЗЕЦ ДОКУМЕНТА: этот текст является заготовкой, поставляемой с программой установки. "
                "Тот, кто собирает и распространяет драйвер, заменяет его собственной политикой конфиденциальности.",
        "sections": [
            ("Какие данные обрабатываются.", "Программа установки и драйвер работают только на этом компьютере. "
                                             "Они считывают модель принтера, его порт USB или сетевой адрес и выбранные "
                                             "вами параметры, чтобы установить и настроить принтер."),
            ("Какие данные передаются.", "Программа установки передаёт данные только самому принтеру, например имя "
                                         "сети WiFi и пароль, введённые на странице WiFi. Изготовителю и третьим лицам ничего не передаётся."),
            ("Какие данные хранятся.", "Параметры принтера и пользовательские размеры этикеток хранятся в настройках "
                                       "принтера Windows и в файле настроек на этом компьютере. При удалении драйвера "
                                       "его принтеры и настройки удаляются."),
            ("Контакты.", "Вопросы по этой политике направляйте распространителю, указанному на полученном вами носителе."),
        ],
        "closing": "Отмечая флажок в программе установки, вы подтверждаете, что прочитали эту политику.",
    },
}

TEXTS["Japanese"] = {
    "licence": {
        "title": "Label Printer Driver \u2013 使用許諾契約（サンプル）",
        "note": "サンプル文書：この文章はインストーラーに同梱された仮の内容です。ドライバーをパッケージ化して配布する者が、独自の使用許諾条件に置き換えてください。",
        "sections": [
            ("1. 使用許諾。", "お客様は、Label Printer Driver を任意の台数のコンピューターにインストールし、対応するラベルプリンターでの印刷に使用できます。"),
            ("2. 制限。", "ドライバーを単体で販売したり、ドライバーから表示を削除したりすることはできません。組織内でのインストールを目的とした複製は許可されます。"),
            ("3. 権利の帰属。", "ドライバーは使用許諾されるものであり、販売されるものではありません。明示的に許諾されていないすべての権利は許諾者に留保されます。"),
            ("4. 無保証。", "ドライバーは「現状のまま」提供され、いかなる保証もありません。法律で認められる範囲で、許諾者はその使用により生じた損害について責任を負いません。"),
            ("5. 終了。", "お客様が本契約の条件に違反した場合、本許諾は終了します。その場合はドライバーを削除してください。"),
        ],
        "closing": "インストーラーのチェックボックスをオンにすることで、お客様はこれらの条件を読み、同意したことを確認します。",
    },
    "privacy": {
        "title": "Label Printer Driver \u2013 プライバシーポリシー（サンプル）",
        "note": "サンプル文書：この文章はインストーラーに同梱された仮の内容です。ドライバーをパッケージ化して配布する者が、独自のプライバシーポリシーに置き換えてください。",
        "sections": [
            ("処理する情報。", "インストーラーとドライバーはこのコンピューター上でのみ動作します。プリンターのインストールと設定のために、プリンターの機種、USB ポートまたはネットワークアドレス、お客様が選択した設定を読み取ります。"),
            ("送信する情報。", "インストーラーはプリンター本体にのみデータを送信します。たとえば、WiFi ページで入力した WiFi 名とパスワードです。製造元や第三者には何も送信しません。"),
            ("保存する情報。", "プリンターの設定とユーザー定義のラベルサイズは、Windows のプリンター設定とこのコンピューター上の設定ファイルに保存されます。ドライバーを削除すると、そのプリンターと設定も削除されます。"),
            ("お問い合わせ。", "本ポリシーに関するご質問は、お受け取りになったメディアに記載の販売元までお寄せください。"),
        ],
        "closing": "インストーラーのチェックボックスをオンにすることで、お客様は本ポリシーを読んだことを確認します。",
    },
}
