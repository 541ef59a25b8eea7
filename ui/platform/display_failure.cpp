// SPDX-License-Identifier: MIT
#include "ui/platform/display_failure.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrow::ui {
namespace {

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

const char* program_ = "";
QtMessageHandler previous_ = nullptr;
std::vector<HeldMessage> held_;

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held_.push_back({type, context.category != nullptr ? context.category : "", text});
        return;
    }
    // The first thing the platform said is the cause ("could not connect to
    // display :999"); the fatal text after it is only advice.
    QString cause = text;
    for (const HeldMessage& message : held_) {
        if (message.category.rfind("qt.qpa", 0) == 0) {
            cause = message.text;
            break;
        }
    }
    cause = cause.section(QLatin1Char('\n'), 0, 0).trimmed();
    std::fprintf(stderr, "%s: cannot open the window: %s\n", program_,
                 cause.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

DisplayFailureGuard::DisplayFailureGuard(const char* program) {
    program_ = program;
    previous_ = qInstallMessageHandler(holdOrEnd);
}

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(previous_);
    for (const HeldMessage& message : held_) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        previous_(message.type, context, message.text);
    }
    held_.clear();
}

}  // namespace kestrow::ui
