#include "ui/controls/ceditlblctl.h"

#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"
#include "ui/controls/ceditbrowsectrlpsn.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

constexpr int MarkWidth = 8;

} // namespace

CEditlblCtl::CEditlblCtl(const tagVANTRELITEMINFO &item, int index, QWidget *parent)
    : QWidget(parent), m_item(item), m_nIndex(index)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    createEditor();
    if (QWidget *editor = GetEditCtrl()) {
        editor->setObjectName(u"editor102"_s);
        editor->installEventFilter(this);
        setFocusProxy(editor);
    }
    layoutEditor();
}

QWidget *CEditlblCtl::GetEditCtrl() const
{
    return m_pDateEditor ? static_cast<QWidget *>(m_pDateEditor) : m_pMainEditor.data();
}

void CEditlblCtl::createEditor()
{
    switch (m_item.iDataType) {
    case ItemNumber:
    case ItemText: {
        auto *edit = new QLineEdit(this);
        connect(edit, &QLineEdit::textChanged, this, &CEditlblCtl::dataChanged);
        m_pMainEditor = edit;
        break;
    }
    case ItemDate:
        m_pDateEditor = new CDateTimeCtrl(m_item.bNotNull == 0, this);
        connect(m_pDateEditor, &CDateTimeCtrl::dateTimeChange, this, &CEditlblCtl::dataChanged);
        break;
    case ItemDictionary:
    case ItemLink:
        m_pMainEditor = createPicker();
        if (auto *edit = qobject_cast<QLineEdit *>(m_pMainEditor))
            connect(edit, &QLineEdit::textChanged, this, &CEditlblCtl::dataChanged);
        break;
    default:
        break;
    }
}

QWidget *CEditlblCtl::createPicker()
{
    const QString ref = m_item.IdRef.toUpper();
    QWidget *watch = parentWidget();
    const bool link = m_item.iDataType == ItemLink;
    const bool required = m_item.bNotNull != 0;
    CEditBrowseDropCtrl *picker = nullptr;
    int width = 0;
    if (ref == (link ? u"QZ_PSNSORT.AID"_s : u"QZ_PSNSORT.NAME"_s)) {
        picker = new CEditBrowseCtrlFromDB(watch, CEditBrowseCtrlFromDB::PsnSorts, {}, true, this);
        width = 100;
    } else if (ref == (link ? u"QZ_DEPT.DID"_s : u"QZ_DEPT.NAME"_s)) {
        picker = new CEditBrowseCtrlFromDB(watch, CEditBrowseCtrlFromDB::Depts, {}, true, this);
        width = link ? picker->GetMinDropWidth() : 200;
    } else if (link) {
        return nullptr;
    } else if (ref == u"QZ_PSNBASE.NAME"_s) {
        picker = new CEditBrowseCtrlPSN(watch, 0, ref, required, this);
        width = 320;
    } else {
        picker = new CEditBrowseCtrlFromDB(watch, CEditBrowseCtrlFromDB::Dictionary, ref, required,
                                           this);
        width = 150;
    }
    picker->SetMinDropWidth(width);
    return picker;
}

QRect CEditlblCtl::EditorRect(const QRect &client)
{
    const int left = client.width() / 3;
    return QRect(left, client.top(), client.width() - left, client.height());
}

void CEditlblCtl::layoutEditor()
{
    m_rcEditor = EditorRect(rect());
    if (QWidget *editor = GetEditCtrl())
        editor->setGeometry(m_rcEditor);
    update();
}

void CEditlblCtl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutEditor();
}

void CEditlblCtl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    const bool required = m_item.bNotNull > 0;
    QRect caption(0, 0, m_rcEditor.left() - (required ? MarkWidth : 0), height());
    painter.setPen(palette().color(QPalette::WindowText));
    const QString text = fontMetrics().elidedText(m_item.Alias, Qt::ElideRight, caption.width());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (m_item.bNotNull != 0) {
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QRect(m_rcEditor.left() - MarkWidth, 0, MarkWidth, height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, u"*"_s);
    }
}

void CEditlblCtl::keyPressEvent(QKeyEvent *event)
{
    // Enter that the editor left alone (an open list takes its own).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT nextItem(m_nIndex);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CEditlblCtl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            Q_EMIT ownerKey(key);
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            edit->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}
