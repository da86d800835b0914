// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The dialog's form: its fields, the progress, the buttons, and how the
// fields follow the choice "Verbindung".

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstddef>

#include "ui/ErrorHandler.h"
#include "ui/Protocols.h"
#include "ui/PublishDialog.h"
#include "ui/PublishSettings.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {
namespace {

using publish::Protocol;

constexpr int kPlainFtp = static_cast<int>(protocolRow(Protocol::Ftp));

Protocol protocolAt(int index) { return kProtocols.at(static_cast<std::size_t>(index)).protocol; }

const QString kPlainWarning =
    QStringLiteral("Passwort und Seite gehen unverschlüsselt übers Netz.");
const QString kNoKeyring =
    QStringLiteral("Kein Schlüsselbund verfügbar: das Passwort wird nicht gespeichert.");

template <typename W>
W* named(W* w, const char* objectName, const QString& accessibleName = {}) {
    w->setObjectName(QString::fromLatin1(objectName));
    if (!accessibleName.isEmpty()) w->setAccessibleName(accessibleName);
    return w;
}

}  // namespace

PublishDialog::PublishDialog(plugin::PublishPlugin& plugin, QWidget* parent)
    : QDialog(parent), plugin_(plugin) {
    setObjectName(QStringLiteral("PublishDialog"));
    setWindowTitle(QStringLiteral("Seite veröffentlichen"));
    setPalette(windowPalette());
    setFont(wizardFont());
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    pageLabel_ = named(new QLabel(this), "Seite");
    pageLabel_->setTextFormat(Qt::PlainText);
    column->addWidget(pageLabel_);
    fields_ = new QWidget(this);
    form_ = new QFormLayout(fields_);
    form_->setContentsMargins(0, 0, 0, 0);
    buildFields(form_);
    column->addWidget(fields_);
    plainWarning_ = named(new QLabel(kPlainWarning, this), "Warnung");
    plainWarning_->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold"));
    column->addWidget(plainWarning_);
    everything_ = named(new QCheckBox(QStringLiteral("Alles neu hochladen"), this), "AllesNeu");
    column->addWidget(everything_);
    column->addWidget(buildProgress());
    status_ = named(new QLabel(this), "Status");
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    column->addWidget(status_);
    column->addWidget(buildButtons());
    fill(ServerSettings{});
    showBusy(false);
}

void PublishDialog::buildFields(QFormLayout* form) {
    protocol_ = named(new QComboBox(fields_), "Verbindung", QStringLiteral("Verbindung"));
    for (const ProtocolNames& names : kProtocols)
        protocol_->addItem(QString::fromUtf8(names.shown));
    connect(protocol_, &QComboBox::activated, this,
            [this](int index) { guarded(this, [&] { protocolChosen(index); }); });
    form->addRow(QStringLiteral("&Verbindung:"), protocol_);
    host_ = named(new QLineEdit(fields_), "Server", QStringLiteral("Server"));
    host_->setMinimumWidth(260);
    form->addRow(QStringLiteral("&Server:"), host_);
    port_ = named(new QSpinBox(fields_), "Port", QStringLiteral("Port"));
    port_->setRange(1, 65535);
    // Only the user's own changes arrive here: the dialog sets the port with
    // the box's signals held.
    connect(port_, &QSpinBox::valueChanged, this, [this] { portChosen_ = true; });
    form->addRow(QStringLiteral("&Port:"), port_);
    user_ = named(new QLineEdit(fields_), "Benutzer", QStringLiteral("Benutzer"));
    form->addRow(QStringLiteral("&Benutzer:"), user_);
    password_ = named(new QLineEdit(fields_), "Passwort", QStringLiteral("Passwort"));
    password_->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Pass&wort:"), password_);
    remember_ = named(new QCheckBox(QStringLiteral("Passwort &merken"), fields_), "PasswortMerken",
                      QStringLiteral("Passwort merken"));
    form->addRow(QString(), remember_);
    keyringNote_ = named(new QLabel(kNoKeyring, fields_), "Schluesselbund");
    form->addRow(QString(), keyringNote_);
    form->addRow(QStringLiteral("Schlüssel&datei:"), buildKeyFileRow());
    folder_ = named(new QLineEdit(fields_), "Ordner", QStringLiteral("Ordner auf dem Server"));
    folder_->setPlaceholderText(QStringLiteral("leer: der Ordner nach der Anmeldung"));
    form->addRow(QStringLiteral("&Ordner auf dem Server:"), folder_);
    webAddress_ =
        named(new QLineEdit(fields_), "Adresse", QStringLiteral("Adresse der Seite im Web"));
    webAddress_->setPlaceholderText(QStringLiteral("optional, z. B. https://www.example.de/"));
    form->addRow(QStringLiteral("&Adresse der Seite im Web:"), webAddress_);
}

QWidget* PublishDialog::buildKeyFileRow() {
    keyFileRow_ = new QWidget(fields_);
    auto* row = new QHBoxLayout(keyFileRow_);
    row->setContentsMargins(0, 0, 0, 0);
    keyFile_ =
        named(new QLineEdit(keyFileRow_), "Schluesseldatei", QStringLiteral("Schlüsseldatei"));
    keyFile_->setPlaceholderText(QStringLiteral("optional"));
    row->addWidget(keyFile_);
    auto* choose = named(new QPushButton(QStringLiteral("Wählen …"), keyFileRow_),
                         "SchluesseldateiWaehlen", QStringLiteral("Schlüsseldatei wählen"));
    connect(choose, &QPushButton::clicked, this,
            [this] { guarded(this, [this] { chooseKeyFile(); }); });
    row->addWidget(choose);
    return keyFileRow_;
}

QWidget* PublishDialog::buildProgress() {
    progress_ = new QWidget(this);
    auto* column = new QVBoxLayout(progress_);
    column->setContentsMargins(0, 0, 0, 0);
    file_ = named(new QLabel(progress_), "Datei");
    file_->setTextFormat(Qt::PlainText);
    column->addWidget(file_);
    auto* row = new QHBoxLayout;
    bytes_ = named(new QProgressBar(progress_), "Fortschritt", QStringLiteral("Gesendet"));
    bytes_->setRange(0, 1000);
    row->addWidget(bytes_);
    cancel_ = named(new QPushButton(QStringLiteral("Abbrechen"), progress_), "Abbrechen");
    connect(cancel_, &QPushButton::clicked, this, [this] {
        guarded(this, [this] {
            if (!busy()) return;
            if (copies_ != nullptr) copies_->cancel();
            if (transfer_ != nullptr) transfer_->cancel();
            cancel_->setEnabled(false);
            file_->setText(QStringLiteral("Wird abgebrochen …"));
        });
    });
    row->addWidget(cancel_);
    column->addLayout(row);
    return progress_;
}

QWidget* PublishDialog::buildButtons() {
    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    check_ = named(new QPushButton(QStringLiteral("Verbindung prüfen"), buttons), "Pruefen");
    publish_ =
        named(new QPushButton(QStringLiteral("Veröffentlichen"), buttons), "Veroeffentlichen");
    close_ = named(new QPushButton(QStringLiteral("Schließen"), buttons), "Schliessen");
    publish_->setDefault(true);
    connect(check_, &QPushButton::clicked, this,
            [this] { guarded(this, [this] { checkClicked(); }); });
    connect(publish_, &QPushButton::clicked, this,
            [this] { guarded(this, [this] { publishClicked(); }); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    row->addWidget(check_);
    row->addStretch();
    row->addWidget(publish_);
    row->addWidget(close_);
    return buttons;
}

void PublishDialog::fill(const ServerSettings& s) {
    {
        const QSignalBlocker quiet(protocol_);
        protocol_->setCurrentIndex(static_cast<int>(protocolRow(s.protocol)));
    }
    protocolShown_ = protocol_->currentIndex();
    host_->setText(s.host);
    {
        const QSignalBlocker quiet(port_);
        port_->setValue(s.port);
    }
    portChosen_ = s.portChosen;
    user_->setText(s.user);
    password_->clear();
    remember_->setChecked(s.rememberPassword && keyring_);
    keyFile_->setText(s.keyFile);
    folder_->setText(s.folder);
    webAddress_->setText(s.webAddress);
    showProtocol();
}

ServerSettings PublishDialog::settings() const {
    ServerSettings s;
    s.protocol = protocolAt(protocol_->currentIndex());
    s.host = host_->text().trimmed();
    s.port = port_->value();
    s.portChosen = portChosen_;
    s.user = user_->text();
    s.rememberPassword = remember_->isChecked();
    s.keyFile = keyFile_->text().trimmed();
    s.folder = folder_->text().trimmed();
    s.webAddress = webAddress_->text().trimmed();
    return s;
}

// Plain FTP only when the user means it: the choice asks, and "Nein" keeps
// the one before.
void PublishDialog::protocolChosen(int index) {
    if (index == kPlainFtp && protocolShown_ != kPlainFtp &&
        !askYesNo(this, kPlainWarning + QStringLiteral(" Trotzdem FTP ohne Verschlüsselung?"))) {
        const QSignalBlocker quiet(protocol_);
        protocol_->setCurrentIndex(protocolShown_);
        return;
    }
    protocolShown_ = index;
    showProtocol();
}

void PublishDialog::showProtocol() {
    const Protocol p = protocolAt(protocol_->currentIndex());
    if (!portChosen_) {
        const QSignalBlocker quiet(port_);
        port_->setValue(publish::defaultPort(p));
    }
    form_->setRowVisible(keyFileRow_, p == Protocol::Sftp);
    plainWarning_->setVisible(p == Protocol::Ftp);
}

void PublishDialog::chooseKeyFile() {
    const QString current = absoluteKeyFile(keyFile_->text());
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Schlüsseldatei wählen"),
        current.isEmpty() ? QDir::home().filePath(QStringLiteral(".ssh")) : current);
    if (!file.isEmpty()) keyFile_->setText(file);
}

}  // namespace velmora::ui
