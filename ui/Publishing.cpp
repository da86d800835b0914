// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Publishing.h"

#include <QKeySequence>
#include <QShortcut>
#include <utility>

#include "ui/Boxes.h"
#include "ui/ErrorHandler.h"
#include "ui/PageNotice.h"
#include "ui/PublishDialog.h"
#include "ui/PublishModule.h"

namespace velmora::ui {

namespace {

// What the dialog asks of the wizard, which outlives it.
PublishDialog::Wizard dialogWizard(const Publishing::Wizard& wizard) {
    return {[&wizard](const QString& page) {
                return !wizard.holdsUnsaved() && wizard.lastPage() == page;
            },
            wizard.picturePlaces,
            [&wizard](const std::map<std::string, std::string>& names) {
                wizard.renamePictures(names);
                return wizard.writePage();
            }};
}

}  // namespace

Publishing::Publishing(Wizard wizard, PageNotice& notice, QObject* parent)
    : QObject(parent), wizard_(std::move(wizard)), notice_(notice) {}

Publishing::~Publishing() = default;

// "Nein" publishes the page as last written, so there is none without one.
Publishing::First Publishing::askWriteFirst(QWidget* from, bool written) {
    enum { kWrite, kPublishLast };
    std::vector<BoxButton> buttons{{QStringLiteral("&Ja"), QMessageBox::YesRole}};
    if (written) buttons.emplace_back(QStringLiteral("&Nein"), QMessageBox::NoRole);
    buttons.emplace_back(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    const int stop = static_cast<int>(buttons.size()) - 1;
    const int chosen = showBox(from, QMessageBox::Question,
                               QStringLiteral("Die Eingaben im Assistenten sind noch nicht "
                                              "gespeichert. Erst die Seite schreiben?"),
                               buttons, kWrite, stop);
    if (chosen == kWrite) return First::Write;
    if (written && chosen == kPublishLast) return First::PublishLast;
    return First::Stop;
}

void Publishing::publish(QWidget* from) {
    guarded(from, [&] {
        QString page = wizard_.lastPage();
        if (page.isEmpty() || wizard_.holdsUnsaved()) {
            switch (askWriteFirst(from, !page.isEmpty())) {
                case First::Write:
                    if (!wizard_.writePage()) return;
                    page = wizard_.lastPage();
                    break;
                case First::PublishLast:
                    break;
                case First::Stop:
                    return;
            }
        }
        if (dialog_ == nullptr) {
            dialog_ = std::make_unique<PublishDialog>(publishModule());
            dialog_->setWizard(dialogWizard(wizard_));
            connect(dialog_.get(), &PublishDialog::published, &notice_, &PageNotice::pagePublished);
        }
        dialog_->showFor(page);
    });
}

void Publishing::reachFrom(QWidget* window) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), window);
    connect(shortcut, &QShortcut::activated, this, [this, window] { publish(window); });
}

bool Publishing::busy() const noexcept { return dialog_ != nullptr && dialog_->busy(); }

void Publishing::stop() {
    if (dialog_ != nullptr) dialog_->cancelAndWait(1000);
}

}  // namespace velmora::ui
