#pragma once
// The statement notes as the program must show them, one row a button.
#include <string_view>

namespace drive {

struct Note {
    std::wstring_view topic;      // the menu button that opens the window
    std::wstring_view window;     // its class
    std::wstring_view statement;  // the button in it
    std::wstring_view title, text;
    bool twice = false;           // also check that a second click shows it again
};

inline constexpr Note notes[]{
    {L"Графические операторы", L"uhfa", L"cls", L"Cls", L"cls очистка экрана", true},
    {L"Графические операторы", L"uhfa", L"color", L"color", L"color выбор цвета"},
    {L"Графические операторы", L"uhfa", L"circle", L"circle", L"circle вычерчивание окружностей"},
    {L"Графические операторы", L"uhfa", L"line", L"line", L"line вычерчивание линий"},
    {L"Графические операторы", L"uhfa", L"preset", L"preset", L"preset рисование точки"},
    {L"Графические операторы", L"uhfa", L"pset", L"pset", L" pset рисование точки"},
    {L"Графические операторы", L"uhfa", L"draw", L"draw", L"draw вычерчивание фигур"},
    {L"Графические операторы", L"uhfa", L"paint", L"paint", L"paint заливка области рисунка"},
    {L"Операторы ввода вывода", L"овв", L"input", L"input", L"input вводит данные с клавиатуры"},
    {L"Операторы ввода вывода", L"овв", L"print", L"print", L"print для вывода данных на экран"},
    {L"Работа с файлами", L"рабсфай", L"open", L"open", L"open открытие файла"},
    {L"Работа с файлами", L"рабсфай", L"close", L"close", L"close закрытие файла"},
    {L"Команды ветвления ", L"комветвл", L"if,then,else", L" if...then...else ",
     L"if...then...else обычно используются, когда проверяются 1 или 2 условия в программе", true},
    {L"Команды повторения", L"комповт", L"For...Next", L"For...Next",
     L"for...next это цикл с заранее заданным числом повторений"},
    {L"Команды повторения", L"комповт", L"While...Wend", L"while...wend",
     L"while...wend-операторы цикла"},
    {L"Команды повторения", L"комповт", L"Do...Loop", L"do...loop", L"do...loop операторы цикла"},
};

}  // namespace drive
