// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded into the program (LD_PRELOAD) by the start-up check: when the
// window titled $VELMORA_SHOWN_TITLE is first shown, it copies the process's
// memory map to $VELMORA_SHOWN_MAPS, if set, and ends the program as "Ende"
// does. Nothing of the program is changed, so an older build is measured the
// same way.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWindow>

namespace {

class ShownHook : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose || done_) return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (window == nullptr || !window->isExposed() ||
            window->title() != qEnvironmentVariable("VELMORA_SHOWN_TITLE"))
            return false;
        done_ = true;
        const QString maps = qEnvironmentVariable("VELMORA_SHOWN_MAPS");
        if (!maps.isEmpty()) {
            QFile from(QStringLiteral("/proc/self/maps"));
            QFile to(maps);
            if (from.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly))
                to.write(from.readAll());
        }
        QCoreApplication::exit(0);
        return false;
    }

private:
    bool done_ = false;
};

void install() { qApp->installEventFilter(new ShownHook(qApp)); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
