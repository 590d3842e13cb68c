#pragma once
#include "runtime/form.h"

// Branching statements.
class комветвл final : public rt::Form {
public:
    комветвл();
    void Комманда1_Click();

private:
    void click(std::wstring_view control) override;
};
