#include "payroll/ui/cdlgwageformu.h"

#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"
#include "core/util/appfiles.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// The insert buttons: what each inserts and its tooltip, in the order they are laid out.
struct InsertButtonText
{
    const char16_t *text;
    const char16_t *tip;
};
constexpr InsertButtonText InsertButtons[] = {
    { u"1", u"数字1" },   { u"2", u"数字2" },    { u"3", u"数字3" },  { u"+", u"加" },
    { u"-", u"减" },      { u"(", u"左小括号" }, { u"4", u"数字4" },  { u"5", u"数字5" },
    { u"6", u"数字6" },   { u"*", u"乘" },       { u"/", u"除" },     { u")", u"右小括号" },
    { u"7", u"数字7" },   { u"8", u"数字8" },    { u"9", u"数字9" },  { u"=", u"等号" },
    { u"<>", u"不等号" }, { u" And ", u"并且" }, { u"0", u"数字0" },  { u".", u"小数点" },
    { u",", u"逗号" },    { u">", u"大于号" },   { u"<", u"小于号" }, { u" Or ", u"或者" },
};

enum ItemData { WageSetRoot = -1, PersonRoot = -2, FunctionEntry = 1 };

QTreeWidgetItem *addRoot(QTreeWidget *tree, const QString &text, int data)
{
    auto *root = new QTreeWidgetItem(tree, QStringList { text });
    root->setData(0, Qt::UserRole, data);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    return root;
}

// The entries of one table's items (data types 0 to 3) in display order.
void addItems(QTreeWidgetItem *root, const QString &table)
{
    const auto items
        = theDatabase.run(u"SELECT ItemID, Alias FROM qz_Items WHERE"
                          u" upper(TblName) = upper(?) AND iDataType < 4 ORDER BY Ord"_s,
                          { table });
    for (int row = 0; row < items.rows.rowCount(); ++row) {
        auto *item = new QTreeWidgetItem(root, QStringList { items.rows.text(row, 1) });
        item->setData(0, Qt::UserRole, items.rows.value(row, 0).toInt());
    }
    root->setExpanded(items.ok && items.rows.rowCount() > 0);
}

// The "function" elements of the file in document order: type, name and description.
struct FunctionEntryText
{
    QString type;
    QString name;
    QString description;
};

QList<FunctionEntryText> readFunctions(const QString &path)
{
    QList<FunctionEntryText> functions;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return functions;
    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement())
        return functions;
    while (reader.readNextStartElement()) {
        if (reader.name() != u"function"_s) {
            reader.skipCurrentElement();
            continue;
        }
        FunctionEntryText entry;
        entry.type = reader.attributes().value(u"type"_s).toString();
        bool named = false;
        bool described = false;
        while (reader.readNextStartElement()) {
            if (reader.name() == u"name"_s && !named) {
                entry.name = reader.readElementText();
                named = true;
            } else if (reader.name() == u"description"_s && named && !described) {
                entry.description = reader.readElementText();
                described = true;
            } else {
                reader.skipCurrentElement();
            }
        }
        functions << entry;
    }
    if (reader.hasError())
        functions.clear();
    return functions;
}

} // namespace

CDlgWageFormu::CDlgWageFormu(int sid, const QString &itemName, const QString &formula,
                             QWidget *parent, const QString &functionFile)
    : CDialogExx(0, 0, parent)
    , m_nSID(sid)
    , m_strFormula(formula)
    , m_strFunctionFile(functionFile.isEmpty() ? GetAppFolder() + u"/funcdescr.xml"_s
                                               : functionFile)
    , m_pFormula(new QPlainTextEdit(this))
    , m_pReferences(new QTreeWidget(this))
    , m_pFunctions(new QTreeWidget(this))
    , m_pDescription(new QPlainTextEdit(this))
    , m_pUndo(new QPushButton(u"撤消(&U)"_s, this))
{
    setWindowTitle(u"[%1] - 公式设置"_s.arg(itemName));
    m_pFormula->setPlainText(formula);
    m_pFormula->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pDescription->setReadOnly(true);
    QPalette palette = m_pDescription->palette();
    palette.setColor(QPalette::Base, CDialogExx::backgroundColor());
    m_pDescription->setPalette(palette);
    for (QTreeWidget *tree : { m_pReferences, m_pFunctions })
        tree->setHeaderHidden(true);

    auto *pad = new QGridLayout;
    int index = 0;
    for (const InsertButtonText &b : InsertButtons) {
        const QString text = QString::fromUtf16(b.text);
        auto *button = new QPushButton(text.trimmed(), this);
        button->setAutoDefault(false);
        button->setToolTip(QString::fromUtf16(b.tip));
        button->setProperty("inserts", text);
        button->setMaximumWidth(48);
        connect(button, &QPushButton::clicked, this, [this, text] { Insert(text); });
        pad->addWidget(button, index / 6, index % 6);
        m_inserts << button;
        ++index;
    }
    m_pUndo->setAutoDefault(false);
    connect(m_pUndo, &QPushButton::clicked, m_pFormula, &QPlainTextEdit::undo);
    auto *ok = new QPushButton(u"确定(&O)"_s, this);
    auto *cancel = new QPushButton(u"取消(&C)"_s, this);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CDlgWageFormu::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgWageFormu::reject);

    auto *references = new QGroupBox(u"参考项目："_s, this);
    (new QVBoxLayout(references))->addWidget(m_pReferences);
    auto *functions = new QGroupBox(u"参考函数："_s, this);
    auto *functionLayout = new QVBoxLayout(functions);
    functionLayout->addWidget(m_pFunctions, 2);
    functionLayout->addWidget(m_pDescription, 1);
    auto *trees = new QHBoxLayout;
    trees->addWidget(references);
    trees->addWidget(functions);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_pUndo);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(pad);
    bottom->addStretch();
    bottom->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(trees, 1);
    layout->addWidget(new QLabel(u"公式内容："_s, this));
    layout->addWidget(m_pFormula, 1);
    layout->addLayout(bottom);
    resize(640, 560);

    connect(m_pReferences, &QTreeWidget::itemDoubleClicked, this,
            &CDlgWageFormu::onReferenceDoubleClicked);
    connect(m_pFunctions, &QTreeWidget::currentItemChanged, this,
            &CDlgWageFormu::onFunctionSelected);
    fillReferences();
    fillFunctions();
}

QPushButton *CDlgWageFormu::InsertButton(const QString &text) const
{
    for (QPushButton *button : m_inserts) {
        if (button->property("inserts").toString() == text)
            return button;
    }
    return nullptr;
}

void CDlgWageFormu::Insert(const QString &text)
{
    QTextCursor cursor = m_pFormula->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    m_pFormula->setTextCursor(cursor);
    m_pFormula->setFocus();
}

void CDlgWageFormu::fillReferences()
{
    m_pReferences->clear();
    const auto set
        = theDatabase.run(u"SELECT Title, TblName FROM qz_Table WHERE nType = ? AND ID = ?"_s,
                          { vantrel::payroll::WageSetTableType, m_nSID });
    QTreeWidgetItem *setRoot = addRoot(m_pReferences, set.rows.text(0, 0), WageSetRoot);
    if (set.hasRow())
        addItems(setRoot, set.rows.text(0, 1));
    const auto person
        = theDatabase.run(u"SELECT Title FROM qz_Table WHERE upper(TblName) = 'QZ_PSNBASE'"_s);
    addItems(addRoot(m_pReferences, person.rows.text(0, 0), PersonRoot), u"QZ_PSNBASE"_s);
    m_pReferences->scrollToItem(setRoot);
}

void CDlgWageFormu::fillFunctions()
{
    m_pFunctions->clear();
    const std::pair<QString, QTreeWidgetItem *> roots[] = {
        { u"const"_s, addRoot(m_pFunctions, u"系统常数"_s, -2) },
        { u"system"_s, addRoot(m_pFunctions, u"系统函数"_s, -2) },
        { u"vbscript"_s, addRoot(m_pFunctions, u"VBScript函数"_s, -1) },
    };
    for (const FunctionEntryText &function : readFunctions(m_strFunctionFile)) {
        for (const auto &[type, root] : roots) {
            if (function.type == type) {
                auto *entry = new QTreeWidgetItem(root, QStringList { function.name });
                entry->setData(0, Qt::UserRole, int(FunctionEntry));
            }
        }
    }
    for (const auto &[type, root] : roots)
        root->setExpanded(true);
    QTreeWidgetItem *first = m_pFunctions->topLevelItem(0);
    m_pFunctions->scrollToItem(first);
    if (first->childCount() > 0)
        m_pFunctions->setCurrentItem(first->child(0));
}

void CDlgWageFormu::onReferenceDoubleClicked(QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return;
    Insert(u"["_s + item->parent()->text(0) + u"."_s + item->text(0) + u"]"_s);
}

void CDlgWageFormu::onFunctionSelected()
{
    const QTreeWidgetItem *item = m_pFunctions->currentItem();
    if (!item || item->data(0, Qt::UserRole).toInt() <= 0 || item->text(0).isEmpty())
        return;
    for (const FunctionEntryText &function : readFunctions(m_strFunctionFile)) {
        if (function.name == item->text(0)) {
            m_pDescription->setPlainText(function.description);
            return;
        }
    }
}

void CDlgWageFormu::accept()
{
    m_strFormula = m_pFormula->toPlainText();
    CDialogExx::accept();
}
