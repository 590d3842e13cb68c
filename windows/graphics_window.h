#pragma once
#include "runtime/form.h"

// Graphics statements.
class uhfa final : public rt::Form {
public:
    uhfa();
    void Комманда1_Click();
    void Комманда2_Click();
    void Комманда3_Click();
    void Комманда4_Click();
    void Комманда5_Click();
    void Комманда6_Click();
    void Комманда7_Click();
    void Комманда8_Click();

private:
    void click(std::wstring_view control) override;
};
