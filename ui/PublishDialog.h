// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The dialog "Seite veröffentlichen": where the page goes and how to log in,
// and the transfer with its progress. It asks what only the user can answer
// (what cannot arrive, an unknown host key, a passphrase, plain FTP) and
// leaves the transfer to a Transfer thread.
//
//   "Veröffentlichen" ──▶ pageFiles, pictures' notes: any? ask ──▶ save settings ──▶ Transfer
//   Transfer ──ended──▶ done: "Seite veröffentlicht", published(), keyring
//                    ├─▶ unknown host key: "Dem Server vertrauen?" ──yes──▶ Transfer again
//                    └─▶ failed: the error box with the library's message
#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "plugin/PublishPlugin.h"
#include "ui/PublishSettings.h"
#include "ui/Transfer.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QWidget;

namespace velmora::ui {

class PublishDialog : public QDialog {
    Q_OBJECT
public:
    explicit PublishDialog(plugin::PublishPlugin& plugin, QWidget* parent = nullptr);
    /// Cancels a running transfer and waits for it.
    ~PublishDialog() override;
    PublishDialog(const PublishDialog&) = delete;
    PublishDialog& operator=(const PublishDialog&) = delete;

    /// Shows the dialog for the page at the absolute `pagePath`, filled with
    /// what its last publish used. While a transfer runs it only comes to
    /// the front.
    void showFor(const QString& pagePath);

    /// The page the dialog publishes: its real path.
    [[nodiscard]] const QString& page() const noexcept { return page_; }
    /// Whether files are going up, or a check runs.
    [[nodiscard]] bool busy() const noexcept { return transfer_ != nullptr; }
    /// Stops a running transfer and waits for it at most `ms`; whether it
    /// has ended.
    bool cancelAndWait(int ms);

signals:
    /// The page went up: `where` as a user reads it, and the web address
    /// the user gave, if any.
    void published(const QString& where, const QString& webAddress);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildFields(QFormLayout* form);
    QWidget* buildKeyFileRow();
    QWidget* buildProgress();
    QWidget* buildButtons();

    void fill(const ServerSettings& s);
    [[nodiscard]] ServerSettings settings() const;
    void protocolChosen(int index);
    void showProtocol();
    void chooseKeyFile();
    void readRememberedPassword();
    void rememberPassword(const ServerSettings& s, const QString& password);

    /// The connection as the fields give it, with absolute paths; throws
    /// Failure when something required is missing.
    [[nodiscard]] publish::Connection connection() const;
    /// Asks for the key file's passphrase when it has one; false when the
    /// user gave none.
    bool askPassphrase(publish::Connection& c);
    /// Whether to publish although `problems` cannot arrive and `notes`
    /// name pictures that should not go up as they are.
    [[nodiscard]] bool publishDespite(const std::vector<std::string>& problems,
                                      const std::vector<std::string>& notes);

    void checkClicked();
    void publishClicked();
    void start(Transfer::Kind kind, publish::Connection c, std::vector<publish::LocalFile> files);
    void transferEnded();
    void succeeded(const Transfer& t);
    void showBusy(bool busy);
    void showBytes(quint64 done, quint64 total);

    plugin::PublishPlugin& plugin_;
    QString page_;
    bool keyring_ = false;
    // What the page's last publish used, as loaded when the dialog opened.
    std::optional<ServerSettings> stored_;
    int protocolShown_ = 0;
    bool portChosen_ = false;
    QString passphraseFor_;
    QString passphrase_;
    std::unique_ptr<Transfer> transfer_;
    bool sendEverything_ = false;

    QLabel* pageLabel_ = nullptr;
    QComboBox* protocol_ = nullptr;
    QLabel* plainWarning_ = nullptr;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QLabel* keyringNote_ = nullptr;
    QWidget* keyFileRow_ = nullptr;
    QLineEdit* keyFile_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QLineEdit* webAddress_ = nullptr;
    QCheckBox* everything_ = nullptr;
    QFormLayout* form_ = nullptr;
    QWidget* fields_ = nullptr;
    QWidget* progress_ = nullptr;
    QLabel* file_ = nullptr;
    QProgressBar* bytes_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* check_ = nullptr;
    QPushButton* publish_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace velmora::ui
