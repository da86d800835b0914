// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/PreviewWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "preview/PageSource.h"
#include "preview/PreviewPage.h"

namespace velmora::vorschau {
namespace {

// A phone's browser lays out a page without a viewport line 980 CSS pixels
// wide, as tall as its screen of 390 × 844 scaled up to that width.
constexpr std::array kScreens{
    Screen{"fenster", "Fenster", {}, 0},
    Screen{"1280x800", "1280 \u00d7 800", {1280, 800}, 0},
    Screen{"1920x1080", "1920 \u00d7 1080", {1920, 1080}, 0},
    Screen{"handy", "Handy", {980, (844 * 980 + 195) / 390}, 390},
};
constexpr double kLeastZoom = 0.25;  // Qt's zoom goes no lower
constexpr int kKeepAfterMs = 400;    // a move or a resize is kept once it rests

// What a browser shows after the written page, for a loaded document: the
// bytes written into it in place, where the user had scrolled to.
QString writeScript(const QByteArray& bytes) {
    const QByteArray literal =
        QJsonDocument(QJsonArray{QString::fromUtf8(bytes)}).toJson(QJsonDocument::Compact);
    return QStringLiteral(
               "(function (p) { var x = scrollX, y = scrollY; document.open(); "
               "document.write(p); document.close(); scrollTo(x, y); })(") +
           QString::fromLatin1(literal) + QStringLiteral("[0]);");
}

// Nothing the page asks for runs or stays: no scripts, no storage, no
// plugins, no prefetching; and the faces a browser on Linux gives a page
// that names none.
void restrict(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    for (const S::WebAttribute off :
         {S::JavascriptEnabled, S::JavascriptCanOpenWindows, S::LocalStorageEnabled,
          S::PluginsEnabled, S::AutoLoadIconsForPage, S::DnsPrefetchEnabled,
          S::HyperlinkAuditingEnabled, S::NavigateOnDropEnabled, S::FocusOnNavigationEnabled,
          S::LocalContentCanAccessRemoteUrls, S::PdfViewerEnabled, S::ErrorPageEnabled})
        settings->setAttribute(off, false);
    settings->setFontFamily(S::StandardFont, QStringLiteral("Times New Roman"));
    settings->setFontFamily(S::SerifFont, QStringLiteral("Times New Roman"));
    settings->setFontFamily(S::SansSerifFont, QStringLiteral("Arial"));
    settings->setFontFamily(S::FixedFont, QStringLiteral("Monospace"));
}

// Qt reads a plain QWidget window as a client area ("filler"), whose title a
// screen reader does not announce; the preview reads as a window.
QAccessibleInterface* readAsWindow(const QString& key, QObject* object) {
    if (key != QLatin1String(PreviewWindow::staticMetaObject.className())) return nullptr;
    return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

Fit fitInto(const Screen& screen, QSize room) {
    const QSize layout = screen.layout;
    double zoom = std::min(static_cast<double>(room.width()) / layout.width(),
                           static_cast<double>(room.height()) / layout.height());
    if (screen.shownWidth > 0)
        zoom = std::min(zoom, static_cast<double>(screen.shownWidth) / layout.width());
    zoom = std::clamp(zoom, kLeastZoom, 1.0);
    // rounded up: laid out no narrower than the screen
    return {zoom, QSize(static_cast<int>(std::ceil(layout.width() * zoom)),
                        static_cast<int>(std::ceil(layout.height() * zoom)))};
}

PreviewWindow::PreviewWindow()
    : profile_(new QWebEngineProfile(this)),  // off the record: nothing on disk
      source_(new PageSource(this)),
      view_(new QWebEngineView),
      screens_(new QComboBox),
      remote_(new QLabel(QStringLiteral("Bilder aus dem Internet zeigt die Vorschau nicht."))),
      stage_(new QWidget) {
    QAccessible::installFactory(readAsWindow);
    setWindowTitle(QStringLiteral("Vorschau"));
    setObjectName(QStringLiteral("Vorschau"));
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    auto* gate = new Gate(this);
    profile_->setUrlRequestInterceptor(gate);
    profile_->installUrlSchemeHandler(kScheme, source_);

    page_ = new PreviewPage(profile_, this);
    restrict(page_->settings());
    view_->setPage(page_);
    view_->setAcceptDrops(false);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu;
        menu.addAction(QStringLiteral("Kopieren"), this,
                       [this] { page_->triggerAction(QWebEnginePage::Copy); });
        menu.addAction(QStringLiteral("Alles markieren"), this,
                       [this] { page_->triggerAction(QWebEnginePage::SelectAll); });
        menu.exec(view_->mapToGlobal(at));
    });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this, &PreviewWindow::engineEnded);
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        loaded_ = ok;
        fit();
        if (drawing_) drawnNow(*drawing_);
    });

    for (const Screen& screen : kScreens) screens_->addItem(QString::fromUtf8(screen.text));
    auto* label = new QLabel(QStringLiteral("&Bildschirm:"));
    label->setBuddy(screens_);
    connect(screens_, &QComboBox::currentIndexChanged, this, &PreviewWindow::chooseScreen);
    auto* bar = new QHBoxLayout;
    bar->addWidget(label);
    bar->addWidget(screens_);
    bar->addStretch();
    remote_->hide();
    tooBig_ =
        new QLabel(QStringLiteral("Die Seite ist zu gro\u00df f\u00fcr die Vorschau."), stage_);
    tooBig_->setAlignment(Qt::AlignCenter);
    tooBig_->hide();
    view_->setParent(stage_);
    stage_->setBackgroundRole(QPalette::Dark);
    stage_->setAutoFillBackground(true);
    stage_->installEventFilter(this);
    // the least a screen takes: the widest's width and the phone's height at
    // the least zoom
    stage_->setMinimumSize(
        qRound(1920 * kLeastZoom),
        static_cast<int>(std::ceil(kScreens.back().layout.height() * kLeastZoom)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bar->setContentsMargins(8, 4, 8, 4);
    layout->addLayout(bar);
    layout->addWidget(remote_);
    remote_->setContentsMargins(8, 0, 8, 4);
    layout->addWidget(stage_, 1);

    for (const Qt::Key key : {Qt::Key_F12, Qt::Key_Escape}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    keeping_.setSingleShot(true);
    keeping_.setInterval(kKeepAfterMs);
    connect(&keeping_, &QTimer::timeout, this, [this] { emit keep(kept()); });
}

// The page goes before the profile it was made with. Its engine answers a
// page still being written as it goes, with no page to draw after it.
PreviewWindow::~PreviewWindow() {
    waiting_.reset();
    delete view_;
    delete page_;
}

void PreviewWindow::showPage(preview::Page page) {
    if (drawing_) {
        waiting_ = std::move(page);
        return;
    }
    draw(std::move(page));
}

void PreviewWindow::draw(preview::Page page) {
    written_ = page.tooBig ? 0 : page.sequence;
    if (page.tooBig) {
        view_->hide();
        tooBig_->show();
        drawnNow(page.sequence);
        return;
    }
    tooBig_->hide();
    view_->show();
    const QByteArray bytes = QByteArray::fromStdString(page.bytes);
    remote_->setVisible(namesRemotePictures(bytes));
    drawing_ = page.sequence;
    const QString folder = QString::fromStdString(page.folder);
    source_->setPage(bytes);
    if (loaded_ && folder == source_->folder()) {
        const std::uint64_t sequence = page.sequence;
        page_->runJavaScript(writeScript(bytes), QWebEngineScript::ApplicationWorld,
                             [this, sequence](const QVariant&) { drawnNow(sequence); });
        return;
    }
    // another folder is another origin, so no picture of the one before is
    // shown from the engine's memory under the same name
    source_->setFolder(folder);
    loaded_ = false;
    page_->loadOwn(QUrl(QStringLiteral("%1://seite%2/").arg(QLatin1String(kScheme)).arg(++host_)));
}

// The engine's renderer ended (out of memory, a crash) with a page unanswered:
// the newest page is drawn in a new one, once; a page that ends it again
// waits for the next.
void PreviewWindow::engineEnded() {
    loaded_ = false;
    drawing_.reset();
    std::optional<preview::Page> next = std::exchange(waiting_, std::nullopt);
    if (!next && written_ != 0 && written_ != retried_) {
        next = preview::Page{written_, source_->folder().toStdString(),
                             source_->page().toStdString(), false};
    }
    if (!next) return;
    retried_ = next->sequence;
    QTimer::singleShot(0, this, [this, page = std::move(*next)]() mutable {
        if (!drawing_) draw(std::move(page));
    });
}

void PreviewWindow::drawnNow(std::uint64_t sequence) {
    drawing_.reset();
    emit drawn(sequence);
    if (!waiting_) return;
    preview::Page next = std::move(*waiting_);
    waiting_.reset();
    draw(std::move(next));
}

void PreviewWindow::apply(const preview::Values& values) {
    if (const auto size = preview::pairAt(values, "size")) resize(size->first, size->second);
    if (const auto at = preview::pairAt(values, "at")) move(at->first, at->second);
    if (const auto mode = values.find("mode"); mode != values.end()) {
        for (std::size_t i = 0; i < kScreens.size(); ++i) {
            if (mode->second == kScreens[i].key) screens_->setCurrentIndex(static_cast<int>(i));
        }
    }
    const bool focus = values.count("focus") != 0 && values.at("focus") == "1";
    setAttribute(Qt::WA_ShowWithoutActivating, !focus);
    show();
    if (focus) {
        raise();
        activateWindow();
    }
}

void PreviewWindow::grabTo(const QString& file) {
    QWidget* shown = view_->isVisible() ? static_cast<QWidget*>(view_) : stage_;
    const bool bmp = file.endsWith(QLatin1String(".bmp"));  // quick to write, for benchmarks
    shown->grab().save(file, bmp ? "BMP" : "PNG");
    emit grabbed(file);
}

void PreviewWindow::chooseScreen(int) {
    fit();
    if (isVisible()) emit keep(kept());
}

void PreviewWindow::fit() {
    const Screen& screen =
        kScreens.at(static_cast<std::size_t>(std::max(0, screens_->currentIndex())));
    tooBig_->setGeometry(stage_->rect());
    if (screen.layout.isEmpty()) {
        view_->setGeometry(stage_->rect());
        page_->setZoomFactor(1.0);
        return;
    }
    const Fit fit = fitInto(screen, stage_->size());
    view_->setGeometry(QRect(QPoint((stage_->width() - fit.size.width()) / 2, 0), fit.size));
    page_->setZoomFactor(fit.zoom);
}

preview::Values PreviewWindow::kept() const {
    preview::Values values{
        {"size", preview::joinPair(width(), height())},
        {"mode", kScreens.at(static_cast<std::size_t>(std::max(0, screens_->currentIndex()))).key}};
    // where the desktop places windows itself, a place is not ours to keep
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        values["at"] = preview::joinPair(x(), y());
    return values;
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (userClosed_) return;
    userClosed_ = true;
    emit keep(kept());
    emit closedByUser();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible()) keeping_.start();
}

void PreviewWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (isVisible()) keeping_.start();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stage_ && event->type() == QEvent::Resize) fit();
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora::vorschau
