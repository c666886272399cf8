#include "ui/qt/notification_icon.h"

#include <QSystemTrayIcon>

namespace zor::ui::qt {

NotificationIcon::NotificationIcon(const QIcon& icon, const QString& tip,
                                   std::function<void()> onRightClick) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    icon_ = new QSystemTrayIcon(icon, this);
    icon_->setToolTip(tip);
    connect(icon_, &QSystemTrayIcon::activated, this,
            [onRightClick = std::move(onRightClick)](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Context && onRightClick) onRightClick();
            });
    icon_->show();
}

NotificationIcon::~NotificationIcon() {
    if (icon_) icon_->hide();
}

bool NotificationIcon::shown() const { return icon_ && icon_->isVisible(); }

}  // namespace zor::ui::qt
