// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ErrorHandler.h"

#include <cstdio>
#include <exception>
#include <new>

#include "ui/Boxes.h"

namespace velmora::ui {

namespace {

// Lists that fail to grow already say "Unable to insert a line"; any other
// allocation that fails ends up here.
constexpr const char* kOutOfMemory = "Out of memory";
constexpr const char* kUnknownFailure = "Unknown failure";

// Building or showing the box can fail too, when memory is what ran out.
// Then the message goes where it can without allocating, and the program
// still goes on.
void showOrPrint(QWidget* parent, const char* utf8Message) noexcept {
    try {
        showError(parent, QString::fromUtf8(utf8Message));
    } catch (...) {
        std::fputs(utf8Message, stderr);
        std::fputc('\n', stderr);
    }
}

}  // namespace

QString withFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void showError(QWidget* parent, const QString& message) {
    showBox(parent, QMessageBox::Critical, withFullStop(message), {QMessageBox::Ok});
}

bool askYesNo(QWidget* parent, const QString& question) {
    enum { kYes, kNo };
    const std::vector<BoxButton> buttons{{QMessageBox::Yes, QStringLiteral("&Ja")},
                                         {QMessageBox::No, QStringLiteral("&Nein")}};
    return showBox(parent, QMessageBox::Question, question, buttons, kNo, kNo) == kYes;
}

void reportCurrentFailure(QWidget* parent) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        showOrPrint(parent, kOutOfMemory);
    } catch (const std::exception& e) {
        showOrPrint(parent, e.what());
    } catch (...) {
        showOrPrint(parent, kUnknownFailure);
    }
}

bool guarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (...) {
        reportCurrentFailure(parent);
    }
    return false;
}

}  // namespace velmora::ui
