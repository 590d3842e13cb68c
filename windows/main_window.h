#pragma once
#include "runtime/form.h"

// The main window, over the background picture.
class с final : public rt::Form {
public:
    с();
    void Комманда1_Click();  // "Операторы"
    void Комманда4_Click();  // "Общие сведения"
    void Комманда2_Click();  // "разработчик"
    void Комманда3_Click();  // "End"

private:
    void click(std::wstring_view control) override;
};
