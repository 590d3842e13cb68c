#pragma once
#include "runtime/form.h"

// File statements.
class рабсфай final : public rt::Form {
public:
    рабсфай();
    void Комманда1_Click();
    void Комманда2_Click();

private:
    void click(std::wstring_view control) override;
};
