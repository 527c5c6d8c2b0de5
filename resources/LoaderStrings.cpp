#include "LoaderStrings.h"

#include <map>

#include "TextTranslation.h"

namespace {

const std::map<LoaderString, const char*> kStrings{
    {IDS_ABOUTBOX, "О программе..."},
    {IDS_BAD_FILE_DATA, "Неверные данные в файле.\nЗагрузка невозможна."},
    {IDS_PORT_NOT_OPENED, "Не удалось открыть порт.\nВозможно, он занят другим приложением."},
    {IDS_LOADING_FONT, "Загрузка шрифта в %s..."},
    {IDS_LOADING_PROGRAM, "Загрузка программы в %s..."},
    {IDS_CANNOT_OPEN_FILE, "Невозможно открыть файл с данными."},
    {IDS_FILE_FILTER,
     "Файлы с программами (*.bin)|*.bin|Файлы со шрифтами (*.fnt)|*.fnt|Все файлы (*.*)|*.*||"},
    {IDS_PROGRAM_LOADED, "Программа успешно загружена в принтер."},
    {IDS_FONT_LOADED, "Шрифт успешно загружен в принтер."},
    {IDS_TIMEOUT, "Истекло время ожидания ответа от принтера.\nЗагрузка будет прервана."},
    {IDS_BAD_CONTROLLER,
     "Данная модель контроллера не поддерживается (%s).\nЗагрузка будет прервана."},
    {IDS_MODEL_MISMATCH,
     "Данная модель контроллера не поддерживается (%s).\nФайл с данными не пригоден для "
     "загрузки.\nЗагрузка будет прервана."},
    {IDS_BAD_PACKET, "Ошибка в принятом пакете.\nЗагрузка будет прервана."},
    {IDS_BAD_COMMAND, "Ошибка в принятой команде.\nЗагрузка будет прервана."},
    {IDS_BAD_ADDRESS, "Ошибка в принятом адресе.\nЗагрузка будет прервана."},
    {IDS_BAD_SIZE, "Ошибка в принятом размере.\nЗагрузка будет прервана."},
    {IDS_INTEGRITY, "Ошибка целостности данных.\nЗагрузка будет прервана."},
    {IDS_BAD_BLOCK_CRC, "Ошибка целостности данных в принятом пакете.\nЗагрузка будет прервана."},
    {IDS_BAD_ECHO, "Ошибка в принятых данных.\nЗагрузка будет прервана."},
    {IDS_NO_DATA, "Нет данных для загрузки.\nЗагрузка будет прервана."},
    {IDS_LINE_LOST, "Связь с принтером потеряна.\nЗагрузка будет прервана."},
    {IDS_NO_ROOM, "Шрифт не помещается в память принтера.\nЗагрузка будет прервана."},
    {IDS_SPEED_HINT,
     "Возможно, скорость не совпадает со скоростью принтера: выберите ту, что "
     "установлена в принтере."},
    {IDS_LOAD_STOPPED,
     "Загрузка остановлена.\nПринтер остался в режиме загрузки: он не выйдет из загрузочной "
     "области, пока загрузка не пройдёт до конца.\nЧтобы восстановить принтер, загрузите файл "
     "ещё раз."},
};

}  // namespace

const char* LoadString(LoaderString id) {
    const auto it = kStrings.find(id);
    return it == kStrings.end() ? "" : TranslatedText("LoaderStrings", it->second);
}

std::string FormatString(LoaderString id, const std::string& argument) {
    std::string text = LoadString(id);
    const auto at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}
