// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The dialog "Seite veröffentlichen": where the page goes and how to log in,
// and the transfer with its progress. It asks what only the user can answer
// (what cannot arrive, an unknown host key, a passphrase, plain FTP) and
// leaves the transfer to a Transfer thread.
//
//   "Veröffentlichen" ──▶ pageFiles, pictures' notes: any? ask ──▶ save settings ──▶ Transfer
//                     └─▶ "Kopien anlegen und veröffentlichen" ──▶ PictureCopies
//                           ──▶ the wizard renames and writes ──▶ pageFiles ──▶ Transfer
//   Transfer ──ended──▶ done: "Seite veröffentlicht", published(), keyring
//                    ├─▶ unknown host key: "Dem Server vertrauen?" ──yes──▶ Transfer again
//                    └─▶ failed: the error box with the library's message
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pictures/Values.h"
#include "plugin/PublishPlugin.h"
#include "ui/PictureCopies.h"
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
    /// What "Kopien anlegen und veröffentlichen" asks of the wizard; without
    /// it, or while the wizard holds other values than the page, copies are
    /// not offered.
    struct Wizard {
        /// Whether the wizard's values are those of the page at this real
        /// path, as it was last written or opened.
        std::function<bool(const QString& page)> holds;
        /// Each picture the wizard's values name, and the place it is for.
        std::function<std::map<std::string, pictures::Place>()> places;
        /// Gives the pictures their new names in one step that Undo takes
        /// back, and writes the page; whether it was written.
        std::function<bool(const std::map<std::string, std::string>& names)> renameAndWrite;
    };

    explicit PublishDialog(plugin::PublishPlugin& plugin, QWidget* parent = nullptr);
    /// Cancels a running transfer and waits for it.
    ~PublishDialog() override;
    PublishDialog(const PublishDialog&) = delete;
    PublishDialog& operator=(const PublishDialog&) = delete;

    /// Shows the dialog for the page at the absolute `pagePath`, filled with
    /// what its last publish used. While a transfer runs it only comes to
    /// the front.
    void showFor(const QString& pagePath);
    void setWizard(Wizard wizard) { wizard_ = std::move(wizard); }

    /// The page the dialog publishes: its real path.
    [[nodiscard]] const QString& page() const noexcept { return page_; }
    /// Whether files are going up, a check runs, or copies are being made.
    [[nodiscard]] bool busy() const noexcept { return transfer_ != nullptr || copies_ != nullptr; }
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
    // What publishing says of the page's pictures (PublishDialogPictures.cpp).
    struct PictureNotes {
        std::vector<std::string> lines;
        // those the lines name, with their facts
        std::vector<std::pair<publish::LocalFile, pictures::Facts>> pictures;
    };
    [[nodiscard]] static PictureNotes pictureNotes(const std::vector<publish::LocalFile>& files);
    enum class Despite { Publish, Copy, Stop };
    /// Whether to publish although `problems` cannot arrive and `notes`
    /// name pictures that should not go up as they are, or, where `copies`,
    /// to publish copies of those pictures.
    [[nodiscard]] Despite publishDespite(const std::vector<std::string>& problems,
                                         const std::vector<std::string>& notes, bool copies);
    [[nodiscard]] std::vector<CopyOrder> copyOrders(
        const std::vector<std::pair<publish::LocalFile, pictures::Facts>>& noted) const;
    void makeCopies(publish::Connection c, std::vector<CopyOrder> orders);
    void showCopying(int index);
    void copiesEnded();

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
    Wizard wizard_;
    std::unique_ptr<PictureCopies> copies_;
    // where the page goes once its copies are made
    publish::Connection afterCopies_;
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
