// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ErrorHandler.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <exception>
#include <new>

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
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), withFullStop(message),
                    QMessageBox::Ok, parent);
    // A file name typed by the user may hold markup; show it as typed.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool askYesNo(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
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
