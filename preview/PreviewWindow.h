// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window "Vorschau": the page as the wizard's next finish would write
// it, drawn by Chromium, on the screen the user chose under "Bildschirm:".
//
//   page ──▶ the first: loaded from vorschau://; later ones written into the
//            loaded document in place (its scroll position kept)
//   while one is drawn, of those that come only the newest is kept
//   written into the document ──▶ "drawn SEQUENCE" (its frame follows), then
//   the newest kept, if any
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "wizard/Preview.h"

class QComboBox;
class QLabel;
class QWebEngineProfile;
class QWebEngineView;

namespace velmora::vorschau {

class PageSource;
class PreviewPage;

/// A screen the page is seen on: the size it is laid out at, in CSS pixels,
/// and the most it is shown at on this screen; none for the window itself.
struct Screen {
    const char* key;   // as kept in the user's configuration
    const char* text;  // as the choice shows it
    QSize layout;      // empty: the window's own size
    int shownWidth;    // 0: as wide as fits
};

/// The zoom at which a page laid out at `layout` fits `room` (never enlarged
/// past `shownWidth` where one is given), and the size it then takes.
struct Fit {
    double zoom;
    QSize size;
};
[[nodiscard]] Fit fitInto(const Screen& screen, QSize room);

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow();
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    void showPage(preview::Page page);
    void apply(const preview::Values& values);  // "show"
    void grabTo(const QString& file);

signals:
    void drawn(std::uint64_t sequence);
    void keep(const preview::Values& values);
    void closedByUser();
    void grabbed(const QString& file);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void draw(preview::Page page);
    void drawnNow(std::uint64_t sequence);
    void engineEnded();
    void chooseScreen(int index);
    void fit();
    [[nodiscard]] preview::Values kept() const;

    QWebEngineProfile* profile_;
    PageSource* source_;
    PreviewPage* page_ = nullptr;
    QWebEngineView* view_;
    QComboBox* screens_;
    QLabel* remote_;
    QLabel* tooBig_;
    QWidget* stage_;
    QTimer keeping_;
    int host_ = 0;
    bool loaded_ = false;
    std::optional<std::uint64_t> drawing_;  // the page being drawn
    std::optional<preview::Page> waiting_;  // the newest that came meanwhile
    std::uint64_t written_ = 0;             // the page the engine has; 0: the note
    std::uint64_t retried_ = 0;             // drawn again once its renderer ended
    bool userClosed_ = false;
};

}  // namespace velmora::vorschau
