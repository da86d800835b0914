// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Preview.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <utility>

#include "ui/Boxes.h"
#include "ui/ErrorHandler.h"
#include "ui/TForm3.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {
namespace {

constexpr int kGap = 8;              // between the wizard's frame and the preview's
const QSize kDefaultSize{640, 600};  // the page's window until the user sizes it
constexpr int kSecondsToEnd = 3;     // after the pipe closed, before the helper is killed

QString& chosenProgram() {
    static QString file;
    return file;
}

// ~/.config/velmora/vorschau.conf: whether the user closed it, and how they
// left it. The helper reports; this side keeps.
QSettings kept() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("velmora"),
                     QStringLiteral("vorschau"));
}

// Where the desktop places windows itself (Wayland), a place is not kept.
bool placesWindows() { return QGuiApplication::platformName() != QLatin1String("wayland"); }

QSize keptSize() {
    const QSize size = kept().value(QStringLiteral("Groesse"), kDefaultSize).toSize();
    return size.isValid() && !size.isEmpty() ? size : kDefaultSize;
}

}  // namespace

std::optional<QPoint> placeBeside(const QRect& wizard, QSize size, const QRect& available) {
    const int top =
        std::max(available.top(), std::min(wizard.top(), available.bottom() + 1 - size.height()));
    const int left =
        std::max(available.left(), std::min(wizard.left(), available.right() + 1 - size.width()));
    const QRect candidates[] = {
        {QPoint(wizard.right() + 1 + kGap, top), size},
        {QPoint(wizard.left() - kGap - size.width(), top), size},
        {QPoint(left, wizard.bottom() + 1 + kGap), size},
    };
    for (const QRect& place : candidates) {
        if (available.contains(place) && !place.intersects(wizard)) return place.topLeft();
    }
    return {};
}

Preview::Preview(TForm3& wizard, QObject* parent) : QObject(parent), wizard_(wizard) {
    wizard.installEventFilter(this);
    connect(&wizard, &TForm3::pageChanged, this, [this] {
        changed_ = true;
        schedulePage();
    });
}

Preview::~Preview() {
    if (helper_ == nullptr) return;
    helper_->disconnect(this);
    helper_->closeWriteChannel();
    if (!helper_->waitForFinished(kSecondsToEnd * 1000)) helper_->kill();
}

QString Preview::programFile() {
    if (!chosenProgram().isEmpty()) return chosenProgram();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(VELMORA_MODULE_FROM_PROGRAM "/velmora-vorschau"));
}

void Preview::useProgramFile(const QString& file) { chosenProgram() = file; }

void Preview::reachFrom(QWidget* window, QWidget* menu) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F12), window);
    connect(key, &QShortcut::activated, this, &Preview::toggle);
    auto* action = new QAction(QStringLiteral("Vorschau (F12)"), menu);
    connect(action, &QAction::triggered, this, &Preview::toggle);
    menu->addAction(action);
    menu->setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool Preview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &wizard_ && event->type() == QEvent::Show) wizardShown();
    if (watched == &wizard_ && event->type() == QEvent::Hide) wizardHidden();
    return QObject::eventFilter(watched, event);
}

// A new user finds it open; a user who closed it is not shown it again
// unasked, nor on a screen without room for it beside the wizard.
void Preview::wizardShown() {
    if (state_ == State::Hidden) {
        send({"show", preview::joinValues(showValues(false))});
        state_ = State::Open;
    } else if (state_ == State::Closed && !kept().value(QStringLiteral("Geschlossen")).toBool() &&
               roomBeside() && QFileInfo(programFile()).isExecutable()) {
        QTimer::singleShot(0, this, [this] {
            if (state_ == State::Closed && wizard_.isVisible()) open(false);
        });
    } else if (state_ == State::Ended && endedNote_ != nullptr) {
        endedNote_->show();
    }
}

void Preview::wizardHidden() {
    if (state_ == State::Open) {
        send({"hide", ""});
        state_ = State::Hidden;
    }
    if (endedNote_ != nullptr) endedNote_->hide();
}

void Preview::toggle() {
    if (state_ == State::Open || state_ == State::Hidden) {
        close();
        return;
    }
    endedNote_.reset();
    state_ = State::Closed;
    if (!QFileInfo(programFile()).isExecutable()) {
        showBox(&wizard_, QMessageBox::Information,
                QStringLiteral("Die Vorschau ist nicht installiert (Paket velmora-preview)."),
                {BoxButton(QMessageBox::Ok)});
        return;
    }
    kept().setValue(QStringLiteral("Geschlossen"), false);
    open(true);
}

void Preview::open(bool focus) {
    helper_ = new QProcess(this);
    helper_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(helper_, &QProcess::readyReadStandardOutput, this, &Preview::readAnswers);
    connect(helper_, &QProcess::finished, this, &Preview::helperFinished);
    connect(helper_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) helperFinished();
    });
    connect(helper_, &QProcess::bytesWritten, this, [this] {
        if (helper_ != nullptr && helper_->bytesToWrite() == 0) sendPage();
    });
    reader_ = preview::Reader();
    helper_->start(programFile(), {});
    state_ = State::Open;
    send({"show", preview::joinValues(showValues(focus))});
    changed_ = true;
    sendPage();
}

// The user closed it here: the helper ends when its input closes.
void Preview::close() {
    kept().setValue(QStringLiteral("Geschlossen"), true);
    state_ = State::Closed;
    if (helper_ == nullptr) return;
    helper_->closeWriteChannel();
    QProcess* ending = std::exchange(helper_, nullptr);
    ending->disconnect(this);
    QTimer::singleShot(kSecondsToEnd * 1000, ending, &QProcess::kill);
    connect(ending, &QProcess::finished, ending, &QObject::deleteLater);
}

void Preview::send(const preview::Message& message) {
    if (helper_ == nullptr) return;
    const std::string bytes = preview::encode(message);
    helper_->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Every change of one event comes as one page, once the event is done.
void Preview::schedulePage() {
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        sendPage();
    });
}

// The newest state, and only once the pipe has taken the page before: of
// the changes in between, none is made into a page of its own.
void Preview::sendPage() {
    if (helper_ == nullptr || !changed_ || helper_->bytesToWrite() > 0) return;
    changed_ = false;
    guarded(&wizard_, [this] {
        send(preview::pageMessage(wizard_.settings(), ++sequence_,
                                  QFile::encodeName(wizard_.pageFolder()).toStdString()));
    });
}

void Preview::grab(const QString& file) { send({"grab", QFile::encodeName(file).toStdString()}); }

qint64 Preview::helperId() const { return helper_ != nullptr ? helper_->processId() : 0; }

void Preview::readAnswers() {
    if (helper_ == nullptr) return;
    const QByteArray bytes = helper_->readAllStandardOutput();
    reader_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    while (const auto message = reader_.next()) answer(*message);
    if (reader_.broken()) helper_->kill();
}

void Preview::answer(const preview::Message& message) {
    if (message.name == "drawn") {
        bool ok = false;
        const std::uint64_t sequence = QString::fromStdString(message.payload).toULongLong(&ok);
        if (ok) emit drawn(sequence);
    } else if (message.name == "grabbed") {
        emit grabbed(QFile::decodeName(QByteArray::fromStdString(message.payload)));
    } else if (message.name == "closed") {
        // F12, Escape or the close box in the preview: the focus goes back
        kept().setValue(QStringLiteral("Geschlossen"), true);
        state_ = State::Closed;
        if (wizard_.isVisible()) wizard_.activateWindow();
    } else if (message.name == "keep") {
        const preview::Values values = preview::splitValues(message.payload);
        QSettings file = kept();
        if (const auto size = preview::pairAt(values, "size"))
            file.setValue(QStringLiteral("Groesse"), QSize(size->first, size->second));
        if (const auto at = preview::pairAt(values, "at"))
            file.setValue(QStringLiteral("Ort"), QPoint(at->first, at->second));
        if (values.count("mode"))
            file.setValue(QStringLiteral("Bildschirm"), QString::fromStdString(values.at("mode")));
    }
}

// Closed by the user, it ends as asked; otherwise it crashed, was killed or
// broke the conversation, and the wizard says so where it stood.
void Preview::helperFinished() {
    QProcess* finished = std::exchange(helper_, nullptr);
    if (finished != nullptr) {
        finished->disconnect(this);
        finished->deleteLater();
    }
    if (state_ == State::Closed) return;
    const bool visible = state_ == State::Open;
    state_ = State::Ended;
    changed_ = true;
    if (visible) showEndedNote();
    emit ended();
}

void Preview::showEndedNote() {
    endedNote_ = std::make_unique<QWidget>();
    endedNote_->setObjectName(QStringLiteral("VorschauBeendet"));
    endedNote_->setWindowTitle(QStringLiteral("Vorschau"));
    endedNote_->setPalette(windowPalette());
    endedNote_->setFont(wizardFont());
    auto* layout = new QVBoxLayout(endedNote_.get());
    auto* text = new QLabel(QStringLiteral("Die Vorschau wurde beendet."), endedNote_.get());
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* again = new QShortcut(QKeySequence(Qt::Key_F12), endedNote_.get());
    connect(again, &QShortcut::activated, this, &Preview::toggle);
    const preview::Values place = showValues(false);
    if (const auto size = preview::pairAt(place, "size"))
        endedNote_->resize(size->first, size->second);
    if (const auto at = preview::pairAt(place, "at")) endedNote_->move(at->first, at->second);
    endedNote_->setAttribute(Qt::WA_ShowWithoutActivating);
    endedNote_->show();
}

// The size and choice the user left it in; its place where the desktop lets
// programs place windows: where the user left it, while that is on a screen
// still attached and clear of the wizard, else beside the wizard.
preview::Values Preview::showValues(bool focus) const {
    QSettings file = kept();
    const QSize size = keptSize();
    preview::Values values{{"size", preview::joinPair(size.width(), size.height())},
                           {"focus", focus ? "1" : "0"}};
    const QString mode = file.value(QStringLiteral("Bildschirm")).toString();
    if (!mode.isEmpty()) values["mode"] = mode.toStdString();
    if (!placesWindows()) return values;
    const QRect frame = wizard_.frameGeometry();
    const QSize margins = frame.size() - wizard_.size();
    const QSize framed = size + margins;
    const QPoint left = file.value(QStringLiteral("Ort"), QPoint(-1, -1)).toPoint();
    const QScreen* screen = QGuiApplication::screenAt(left);
    std::optional<QPoint> at;
    if (screen != nullptr && file.contains(QStringLiteral("Ort")) &&
        !QRect(left, framed).intersects(frame)) {
        at = left;
    } else {
        const QScreen* here = wizard_.screen();
        const QRect available = here != nullptr ? here->availableGeometry() : QRect();
        at = placeBeside(frame, framed, available);
        // no room: right of the wizard all the same, never over it
        if (!at) at = QPoint(frame.right() + 1 + kGap, frame.top());
    }
    values["at"] = preview::joinPair(at->x(), at->y());
    return values;
}

bool Preview::roomBeside() const {
    const QScreen* screen = wizard_.screen();
    if (screen == nullptr) return false;
    const QRect frame = wizard_.frameGeometry();
    const QSize framed = keptSize() + (frame.size() - wizard_.size());
    const QRect available = screen->availableGeometry();
    if (!placesWindows()) {
        return available.width() >= frame.width() + kGap + framed.width() ||
               available.height() >= frame.height() + kGap + framed.height();
    }
    return placeBeside(frame, framed, available).has_value();
}

}  // namespace velmora::ui
