#pragma once

namespace vantrel::admin {
struct AdminOutcome;
}
class QWidget;

// Shows a refused save or delete with the caption "提示" and the outcome's icon.
void ShowAdminOutcome(QWidget *owner, const vantrel::admin::AdminOutcome &outcome);
