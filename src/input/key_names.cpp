// The names shown for key codes on the title and redefine-keys screens.
#include "input/key_names.h"

#include <map>

namespace {

String NameOf(int code) {
    if ((code >= 48 && code <= 57) || (code >= 65 && code <= 90))
        return String(1, static_cast<char16_t>(code));
    if (code >= 96 && code <= 105)
        return u"NUMPAD " + String(1, static_cast<char16_t>(u'0' + code - 96));
    if (code >= 112 && code <= 123)
        return u"F" + bb_itos(code - 111);
    static const std::map<int, String> names = {
        {8, u"BACKSPACE"},  {9, u"TAB"},           {13, u"ENTER"},       {16, u"SHIFT"},
        {17, u"CONTROL"},   {27, u"ESCAPE"},       {32, u"SPACE"},       {33, u"PAGE UP"},
        {34, u"PAGE DOWN"}, {35, u"END"},          {36, u"HOME"},        {37, u"CURSOR LEFT"},
        {38, u"CURSOR UP"}, {39, u"CURSOR RIGHT"}, {40, u"CURSOR DOWN"}, {45, u"INSERT"},
        {46, u"DELETE"},    {106, u"NUMPAD *"},    {107, u"NUMPAD +"},   {108, u"NUMPAD /"},
        {109, u"NUMPAD -"}, {110, u"NUMPAD ."},    {111, u"NUMPAD /"},   {186, u";"},
        {187, u"="},        {188, u","},           {189, u"-"},          {190, u"."},
        {191, u"/"},        {192, u"~"},           {219, u"("},          {220, u"\\"},
        {221, u")"},        {222, u"\""},
    };
    auto it = names.find(code);
    return it == names.end() ? String(u"UNKNOWN") : it->second;
}

} // namespace

String bb_settings_KeyCodeToName(int keyCode, int width) {
    String name = NameOf(keyCode);
    if (width > 0 && name.size() < static_cast<size_t>(width))
        name.resize(width, u' ');
    return name;
}
