#pragma once

#include <functional>

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

class QSystemTrayIcon;

namespace zor::ui::qt {

// The program's icon in the desktop's notification area, where the desktop
// has one. A right click on it reports the cursor position; other clicks
// are ignored.
class NotificationIcon : public QObject {
public:
    NotificationIcon(const QIcon& icon, const QString& tip, std::function<void()> onRightClick);
    ~NotificationIcon() override;

    // Whether the icon is shown (the desktop offers a notification area).
    bool shown() const;

private:
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace zor::ui::qt
