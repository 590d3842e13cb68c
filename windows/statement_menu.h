#pragma once
#include "runtime/form.h"

// The statement menu: five topic windows and the alphabet box.
class nc final : public rt::Form {
public:
    nc();
    void Комманда1_Click();  // input and output
    void Комманда2_Click();  // graphics
    void Комманда3_Click();  // the alphabet box
    void Комманда4_Click();  // branching
    void Комманда5_Click();  // loops
    void Комманда6_Click();  // files

private:
    void click(std::wstring_view control) override;
};
