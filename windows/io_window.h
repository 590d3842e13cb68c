#pragma once
#include "runtime/form.h"

// Input and output statements.
class овв final : public rt::Form {
public:
    овв();
    void Комманда1_Click();
    void Комманда2_Click();

private:
    void click(std::wstring_view control) override;
};
