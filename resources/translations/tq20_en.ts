<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>QtNotifier</name>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Не сохранять</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ConfiguratorStrings</name>
    <message>
        <source>Соединение с принтером</source>
        <translation>Printer connection</translation>
    </message>
    <message>
        <source>Настройки принтера</source>
        <translation>Printer settings</translation>
    </message>
    <message>
        <source>Параметры печати</source>
        <translation>Printing properties</translation>
    </message>
    <message>
        <source>Параметры шрифта</source>
        <translation>Font properties</translation>
    </message>
    <message>
        <source>Параметры штрих-кода</source>
        <translation>Barcode properties</translation>
    </message>
    <message>
        <source>Служебная информация</source>
        <translation>Service information</translation>
    </message>
    <message>
        <source>Интерфейс:</source>
        <translation>Interface:</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Скорость:</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>Стоп-бит, четность:</source>
        <translation>Stop bits, parity:</translation>
    </message>
    <message>
        <source>Бит данных:</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>Управление потоком:</source>
        <translation>Flow control:</translation>
    </message>
    <message>
        <source>Установить соединение</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Низкий шрифт</source>
        <translation>Low font</translation>
    </message>
    <message>
        <source>Узкий шрифт</source>
        <translation>Narrow font</translation>
    </message>
    <message>
        <source>Нормальная</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Двойная</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>Четверная</source>
        <translation>Quadruple</translation>
    </message>
    <message>
        <source> Жирный</source>
        <translation> Bold</translation>
    </message>
    <message>
        <source> Подчеркнутый</source>
        <translation> Underlined</translation>
    </message>
    <message>
        <source> Негативный</source>
        <translation> Reverse</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Ширина</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Стиль</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Позиционирование текста</source>
        <translation>Text positioning</translation>
    </message>
    <message>
        <source>Табуляция, символов</source>
        <translation>Tab stop, characters</translation>
    </message>
    <message>
        <source>Отступ слева, мм</source>
        <translation>Left indent, mm</translation>
    </message>
    <message>
        <source>Ширина области печати, мм</source>
        <translation>Print area width, mm</translation>
    </message>
    <message>
        <source>Выравнивание</source>
        <translation>Alignment</translation>
    </message>
    <message>
        <source>Влево</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>По центру</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>Вправо</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Высота штрих-кода, линий</source>
        <translation>Barcode height, lines</translation>
    </message>
    <message>
        <source>Ширина элемента штрих-кода</source>
        <translation>Barcode bar width</translation>
    </message>
    <message>
        <source>Белое поле сверху/снизу, линий</source>
        <translation>Quiet zone above/below, lines</translation>
    </message>
    <message>
        <source>Белое поле слева/справа, мм</source>
        <translation>Quiet zone left/right, mm</translation>
    </message>
    <message>
        <source>Печатать читаемые символы ШК</source>
        <translation>Print the barcode's human-readable text</translation>
    </message>
    <message>
        <source>Контраст печати</source>
        <translation>Print contrast</translation>
    </message>
    <message>
        <source>Скорость печати</source>
        <translation>Print speed</translation>
    </message>
    <message>
        <source>Количество прожигаемых точек</source>
        <translation>Dots heated at once</translation>
    </message>
    <message>
        <source>*Для значений 96 и 128 ток источника должен быть не менее 5 А</source>
        <translation>*Values 96 and 128 need a power supply of at least 5 A</translation>
    </message>
    <message>
        <source>Разорвать соединение</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Соединение с принтером не установлено</source>
        <translation>Not connected to a printer</translation>
    </message>
    <message>
        <source># Соединение с принтером</source>
        <translation># Printer connection</translation>
    </message>
    <message>
        <source>Истекло время ожидания ответа от принтера</source>
        <translation>The printer did not reply in time</translation>
    </message>
    <message>
        <source>Соединение...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>Параметры RS-232</source>
        <translation>RS-232 settings</translation>
    </message>
    <message>
        <source>Активировать кнопку FEED</source>
        <translation>Enable the FEED button</translation>
    </message>
    <message>
        <source>Автоматический возврат состояния</source>
        <translation>Automatic status return</translation>
    </message>
    <message>
        <source>Сохранить эти настройки в принтер</source>
        <translation>Save these settings to the printer</translation>
    </message>
    <message>
        <source>Восстановить настройки...</source>
        <translation>Restore settings...</translation>
    </message>
    <message>
        <source>заводские</source>
        <translation>factory</translation>
    </message>
    <message>
        <source>сохраненные</source>
        <translation>saved</translation>
    </message>
    <message>
        <source>Запрашиваю принтер...</source>
        <translation>Asking the printer...</translation>
    </message>
    <message>
        <source>Ошибка связи. Выберите режим Xon/Xoff для управления потоком.</source>
        <translation>Communication error. Choose Xon/Xoff flow control.</translation>
    </message>
    <message>
        <source>Запросить</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>- Открыта крышка</source>
        <translation>- Cover open</translation>
    </message>
    <message>
        <source>- Температура термоголовки выше допустимой</source>
        <translation>- Print head temperature too high</translation>
    </message>
    <message>
        <source>- Температура термоголовки ниже допустимой или термоголовка не подключена</source>
        <translation>- Print head temperature too low, or print head not connected</translation>
    </message>
    <message>
        <source>- Напряжение питания выше допустимого</source>
        <translation>- Supply voltage too high</translation>
    </message>
    <message>
        <source>- Напряжение питания ниже допустимого</source>
        <translation>- Supply voltage too low</translation>
    </message>
    <message>
        <source>Название принтера:  </source>
        <translation>Printer name:  </translation>
    </message>
    <message>
        <source>Контроллер:  </source>
        <translation>Controller:  </translation>
    </message>
    <message>
        <source>Серийный номер принтера:  </source>
        <translation>Printer serial number:  </translation>
    </message>
    <message>
        <source>Версия внутреннего ПО:  </source>
        <translation>Firmware version:  </translation>
    </message>
    <message>
        <source>Обновление внутреннего ПО:  </source>
        <translation>Firmware updated:  </translation>
    </message>
    <message>
        <source>Серийный номер контроллера:  </source>
        <translation>Controller serial number:  </translation>
    </message>
    <message>
        <source>Версия ПО загрузочной области:  </source>
        <translation>Boot area version:  </translation>
    </message>
    <message>
        <source>Прошивка загрузочной области:  </source>
        <translation>Boot area written:  </translation>
    </message>
    <message>
        <source>TQ-20 Конфигуратор</source>
        <translation>TQ-20 Configurator</translation>
    </message>
    <message>
        <source>- Отсутствует бумага</source>
        <translation>- Out of paper</translation>
    </message>
    <message>
        <source>Состояние принтера:</source>
        <translation>Printer state:</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Шрифт:  </source>
        <translation>Font:  </translation>
    </message>
    <message>
        <source>Связь с принтером потеряна.</source>
        <translation>The connection to the printer was lost.</translation>
    </message>
    <message>
        <source>Изменения на странице «%s» не сохранены в принтер. Сохранить их?</source>
        <translation>The changes on the page “%s” are not saved to the printer. Save them?</translation>
    </message>
    <message>
        <source>Сохранение настроек...</source>
        <translation>Saving the settings...</translation>
    </message>
    <message>
        <source>Настройки сохранены в принтер.</source>
        <translation>The settings are saved to the printer.</translation>
    </message>
    <message>
        <source>Настройки не сохранены.</source>
        <translation>The settings are not saved.</translation>
    </message>
    <message>
        <source>Восстановить заводские настройки принтера? Все настройки, сделанные в нем, будут потеряны.</source>
        <translation>Restore the printer's factory settings? Every setting made in it will be lost.</translation>
    </message>
    <message>
        <source>Возможно, принтер работает на другой линии: нажмите «Найти принтер» на странице соединения.</source>
        <translation>The printer may be on another line: press “Find printer” on the connection page.</translation>
    </message>
    <message>
        <source>Возможно, принтер работает на другой линии: ее найдет команда tq20 detect.</source>
        <translation>The printer may be on another line: the command tq20 detect finds it.</translation>
    </message>
    <message>
        <source>Настройки не были отправлены: принтер хранит прежние значения.</source>
        <translation>The settings were not sent: the printer keeps its previous values.</translation>
    </message>
    <message>
        <source>Настройки и команда сохранения отправлены принтеру: прочтите настройки, когда связь восстановится.</source>
        <translation>The settings and the store command were sent to the printer: read the settings once the line is back.</translation>
    </message>
    <message>
        <source>Принтер перешел на новые параметры порта, но команда сохранения не отправлена: после выключения он вернется к прежним.</source>
        <translation>The printer took the new port settings, but the store command was not sent: after power-off it returns to the previous ones.</translation>
    </message>
    <message>
        <source>Допустимо от %1 до %2</source>
        <translation>Allowed from %1 to %2</translation>
    </message>
    <message>
        <source>Пробная печать</source>
        <translation>Test print</translation>
    </message>
    <message>
        <source>Пробный чек отправлен на принтер.</source>
        <translation>The test receipt has been sent to the printer.</translation>
    </message>
    <message>
        <source>Пробный чек отправлен не весь: принтер не принял данные вовремя.</source>
        <translation>The test receipt was not sent in full: the printer did not take the data in time.</translation>
    </message>
    <message>
        <source>Чек с этими настройками</source>
        <translation>A receipt with these settings</translation>
    </message>
    <message>
        <source>Печать пробного чека...</source>
        <translation>Printing the test receipt...</translation>
    </message>
</context>
<context>
    <name>LoaderStrings</name>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Неверные данные в файле.
Загрузка невозможна.</source>
        <translation>The file holds invalid data.
It cannot be loaded.</translation>
    </message>
    <message>
        <source>Не удалось открыть порт.
Возможно, он занят другим приложением.</source>
        <translation>The port could not be opened.
Another program may be using it.</translation>
    </message>
    <message>
        <source>Загрузка шрифта в %s...</source>
        <translation>Loading the font into %s...</translation>
    </message>
    <message>
        <source>Загрузка программы в %s...</source>
        <translation>Loading the program into %s...</translation>
    </message>
    <message>
        <source>Невозможно открыть файл с данными.</source>
        <translation>The data file cannot be opened.</translation>
    </message>
    <message>
        <source>Файлы с программами (*.bin)|*.bin|Файлы со шрифтами (*.fnt)|*.fnt|Все файлы (*.*)|*.*||</source>
        <translation>Program files (*.bin)|*.bin|Font files (*.fnt)|*.fnt|All files (*.*)|*.*||</translation>
    </message>
    <message>
        <source>Программа успешно загружена в принтер.</source>
        <translation>The program has been loaded into the printer.</translation>
    </message>
    <message>
        <source>Шрифт успешно загружен в принтер.</source>
        <translation>The font has been loaded into the printer.</translation>
    </message>
    <message>
        <source>Истекло время ожидания ответа от принтера.
Загрузка будет прервана.</source>
        <translation>The printer did not reply in time.
The load is aborted.</translation>
    </message>
    <message>
        <source>Данная модель контроллера не поддерживается (%s).
Загрузка будет прервана.</source>
        <translation>This controller model is not supported (%s).
The load is aborted.</translation>
    </message>
    <message>
        <source>Данная модель контроллера не поддерживается (%s).
Файл с данными не пригоден для загрузки.
Загрузка будет прервана.</source>
        <translation>This controller model is not supported (%s).
The data file does not suit it.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка в принятом пакете.
Загрузка будет прервана.</source>
        <translation>Error in a received packet.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка в принятой команде.
Загрузка будет прервана.</source>
        <translation>Error in a received command.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка в принятом адресе.
Загрузка будет прервана.</source>
        <translation>Error in a received address.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка в принятом размере.
Загрузка будет прервана.</source>
        <translation>Error in a received size.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка целостности данных.
Загрузка будет прервана.</source>
        <translation>Data integrity error.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка целостности данных в принятом пакете.
Загрузка будет прервана.</source>
        <translation>Data integrity error in a received packet.
The load is aborted.</translation>
    </message>
    <message>
        <source>Ошибка в принятых данных.
Загрузка будет прервана.</source>
        <translation>Error in the received data.
The load is aborted.</translation>
    </message>
    <message>
        <source>Нет данных для загрузки.
Загрузка будет прервана.</source>
        <translation>No data to load.
The load is aborted.</translation>
    </message>
    <message>
        <source>Связь с принтером потеряна.
Загрузка будет прервана.</source>
        <translation>The connection to the printer was lost.
The load is aborted.</translation>
    </message>
    <message>
        <source>Шрифт не помещается в память принтера.
Загрузка будет прервана.</source>
        <translation>The font does not fit into the printer's memory.
The load is aborted.</translation>
    </message>
    <message>
        <source>Возможно, скорость не совпадает со скоростью принтера: выберите ту, что установлена в принтере.</source>
        <translation>The speed may not match the printer's: choose the one the printer is set to.</translation>
    </message>
    <message>
        <source>Загрузка остановлена.
Принтер остался в режиме загрузки: он не выйдет из загрузочной области, пока загрузка не пройдёт до конца.
Чтобы восстановить принтер, загрузите файл ещё раз.</source>
        <translation>The load was stopped.
The printer is left in its loading mode: it stays in its boot area until a load runs to the end.
To recover the printer, load the file again.</translation>
    </message>
</context>
<context>
    <name>FlowCharacters</name>
    <message>
        <source>При управлении потоком Xon/Xoff принтер не может передать байты 17 и 19, поэтому сохранено:</source>
        <translation>With Xon/Xoff flow control the printer cannot send the bytes 17 and 19, so these were saved:</translation>
    </message>
    <message>
        <source>вместо</source>
        <translation>instead of</translation>
    </message>
</context>
<context>
    <name>CConnectionDlg</name>
    <message>
        <source>Порт не выбран.
Выберите порт, к которому подключен принтер.</source>
        <translation>No port is chosen.
Choose the port the printer is connected to.</translation>
    </message>
    <message>
        <source>Найти принтер</source>
        <translation>Find printer</translation>
    </message>
    <message>
        <source>Остановить поиск</source>
        <translation>Stop search</translation>
    </message>
    <message>
        <source>%1 бит/с; %2; %3</source>
        <translation>%1 bit/s; %2; %3</translation>
    </message>
    <message>
        <source>Проверяется: %1</source>
        <translation>Trying: %1</translation>
    </message>
    <message>
        <source>Принтер найден: %1.</source>
        <translation>Printer found: %1.</translation>
    </message>
    <message>
        <source>Принтер не ответил ни при одной из %1 настроек линии.</source>
        <translation>No printer answered at any of the %1 line settings.</translation>
    </message>
    <message>
        <source>Поиск остановлен.</source>
        <translation>Search stopped.</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>TQ-20 Конфигуратор</source>
        <translation>TQ-20 Configurator</translation>
    </message>
    <message>
        <source>Версия %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>8 января 2008</source>
        <translation>8 January 2008</translation>
    </message>
    <message>
        <source>Обратная связь:</source>
        <translation>Feedback:</translation>
    </message>
    <message>
        <source>Загрузчик</source>
        <translation>Loader</translation>
    </message>
    <message>
        <source>19 мая 2007</source>
        <translation>19 May 2007</translation>
    </message>
</context>
<context>
    <name>CLoaderDlg</name>
    <message>
        <source>Загрузчик</source>
        <translation>Loader</translation>
    </message>
    <message>
        <source>Параметры интерфейса</source>
        <translation>Interface settings</translation>
    </message>
    <message>
        <source>Файл с данными</source>
        <translation>Data file</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
</context>
</TS>
