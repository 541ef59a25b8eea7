// SPDX-License-Identifier: MIT
// The user's locale as Qt reads it from the desktop session.
#pragma once

#include "app/user_locale.h"

namespace kestrow::ui {

class QtUserLocale final : public UserLocale {
  public:
    std::string NumberText(double value) const override;
    std::string ShortDate(int year, int month, int day) const override;
};

}  // namespace kestrow::ui
