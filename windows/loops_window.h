#pragma once
#include "runtime/form.h"

// Loop statements.
class комповт final : public rt::Form {
public:
    комповт();
    void Комманда1_Click();
    void Комманда2_Click();
    void Комманда3_Click();

private:
    void click(std::wstring_view control) override;
};
