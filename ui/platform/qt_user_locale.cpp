// SPDX-License-Identifier: MIT
#include "ui/platform/qt_user_locale.h"

#include <QDate>
#include <QLocale>

namespace kestrow::ui {

std::string QtUserLocale::NumberText(double value) const {
    return QLocale().toString(value).toStdString();
}

std::string QtUserLocale::ShortDate(int year, int month, int day) const {
    return QLocale().toString(QDate(year, month, day), QLocale::ShortFormat).toStdString();
}

}  // namespace kestrow::ui
