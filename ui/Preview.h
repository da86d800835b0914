// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window "Vorschau": the page as the next finish would write it, beside
// the wizard, drawn by a program of its own (velmora-vorschau, package
// velmora-preview), so that its engine never enters this process and a start
// costs what it did without it.
//
//   F12, "Vorschau (F12)", the wizard shown ──▶ start the helper, pipe ──▶ show
//   TForm3::pageChanged ──▶ the newest page, when the pipe has taken the last
//   helper: "closed" (F12, Escape) ──▶ kept closed; it ended otherwise ──▶ a note
//
// The wizard never waits for the helper: a page goes down the pipe only when
// the one before has left, and of the changes in between only the newest is
// made into a page. A helper that is slow, stuck or gone costs the wizard
// nothing but that page.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "wizard/Preview.h"

class QAction;
class QProcess;
class QWidget;

namespace velmora::ui {

class TForm3;

/// Where a window of `size` (frame included) stands beside `wizard` (its
/// frame) on the `available` area of a screen: right of it, else left, else
/// below, never over it; nothing where none of those has room.
[[nodiscard]] std::optional<QPoint> placeBeside(const QRect& wizard, QSize size,
                                                const QRect& available);

class Preview : public QObject {
    Q_OBJECT
public:
    explicit Preview(TForm3& wizard, QObject* parent = nullptr);
    ~Preview() override;
    Preview(const Preview&) = delete;
    Preview& operator=(const Preview&) = delete;

    /// F12 and "Vorschau (F12)" in `window`'s context menu `menu`: the
    /// widget whose context menu offers it.
    void reachFrom(QWidget* window, QWidget* menu);

    /// F12: opens the preview, with the focus, or closes it when it is open.
    void toggle();

    [[nodiscard]] bool isOpen() const noexcept { return state_ == State::Open; }

    /// The view as the helper draws it now, into `file` (PNG, or BMP by its
    /// name's end), answered by grabbed(); for tests and benchmarks.
    void grab(const QString& file);
    /// The helper's process, or 0 while none runs.
    [[nodiscard]] qint64 helperId() const;

    /// The helper program: at the installed path from the program's folder,
    /// which the build tree keeps too. Tests name another.
    [[nodiscard]] static QString programFile();
    static void useProgramFile(const QString& file);

signals:
    /// The helper answered that it drew the page numbered `sequence`.
    void drawn(std::uint64_t sequence);
    /// The helper ended without being closed.
    void ended();
    /// The helper wrote what grab() asked for into `file`.
    void grabbed(const QString& file);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { Closed, Open, Hidden, Ended };

    void wizardShown();
    void wizardHidden();
    void open(bool focus);
    void close();
    void send(const preview::Message& message);
    void schedulePage();
    void sendPage();
    void readAnswers();
    void answer(const preview::Message& message);
    void helperFinished();
    void showEndedNote();
    [[nodiscard]] preview::Values showValues(bool focus) const;
    [[nodiscard]] bool roomBeside() const;

    TForm3& wizard_;
    QProcess* helper_ = nullptr;
    preview::Reader reader_;
    State state_ = State::Closed;
    std::uint64_t sequence_ = 0;
    bool changed_ = true;     // the page changed since the last one sent
    bool scheduled_ = false;  // a page is to be made once this event is done
    std::unique_ptr<QWidget> endedNote_;
};

}  // namespace velmora::ui
