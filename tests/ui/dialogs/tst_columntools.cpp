#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "modalanswers.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/dialogs/cdlgbatchupdate.h"
#include "ui/dialogs/cdlggridcolfmt.h"
#include "ui/dialogs/cdlgnameset.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

CItemInfoArray items()
{
    CItemInfoArray array;
    const auto add = [&](const QString &alias, short type) {
        tagVANTRELITEMINFO item;
        item.Alias = alias;
        item.Name = u"F%1"_s.arg(array.size());
        item.iDataType = type;
        array << item;
    };
    add(u"基本工资"_s, ItemNumber);
    add(u"备注"_s, ItemText);
    add(u"入职日期"_s, ItemDate);
    add(u"部门"_s, ItemLink);
    return array;
}

} // namespace

// The column tools only collect and check input; their openers apply it.
class TestColumnTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void batchUpdateChecks_data();
    void batchUpdateChecks();
    void batchUpdateDate();
    void columnFormatPreviewAndCancel();
    void nameSet();
};

void TestColumnTools::batchUpdateChecks_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message"); // empty: accepted after the confirmation
    QTest::addColumn<int>("modes");

    QTest::newRow("add a number") << u"基本"_s << 1 << u" 150.5"_s << QString() << 5;
    QTest::newRow("letters in a number") << u"基本"_s << 0 << u"abc"_s << u"值只能是数字!"_s << 5;
    QTest::newRow("divide by 0.0") << u"基本"_s << 4 << u"0.0"_s << u"除数不能为零!"_s << 5;
    QTest::newRow("divide by letters") << u"基本"_s << 4 << u"abc"_s << u"值只能是数字!"_s << 5;
    QTest::newRow("text assigned") << u"备注"_s << 0 << u"abc"_s << QString() << 1;
    QTest::newRow("link has no way") << u"部门"_s << -1 << u"1"_s << u"请选择修改方式!"_s << 0;
}

void TestColumnTools::batchUpdateChecks()
{
    QFETCH(QString, item);
    QFETCH(int, mode);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(int, modes);
    CDlgBatchUpdate dialog;
    QCOMPARE(dialog.windowTitle(), u"批量修改"_s);
    dialog.SetItems(items(), item);
    QCOMPARE(dialog.itemList()->currentText().left(item.size()), item);
    QCOMPARE(dialog.modeList()->count(), modes);
    dialog.modeList()->setCurrentIndex(mode);
    dialog.valueEdit()->setText(value);
    dialog.show();
    MessageCatcher messages(QMessageBox::Yes);
    dialog.accept();
    if (message.isEmpty()) {
        QCOMPARE(messages.texts, QStringList { u"操作不可回退，确定批量修改吗?"_s });
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetMode(), mode);
        QCOMPARE(dialog.GetValueText(), value);
        QCOMPARE(items().at(dialog.GetSelectedItem()).Alias.left(item.size()), item);
    } else {
        QCOMPARE(messages.texts, QStringList { message });
        QVERIFY(dialog.isVisible());
    }
}

void TestColumnTools::batchUpdateDate()
{
    CDlgBatchUpdate dialog;
    dialog.SetItems(items(), u"入职"_s);
    dialog.show();
    QVERIFY(dialog.dateEdit()->isVisible());
    QVERIFY(!dialog.valueEdit()->isVisible());
    dialog.dateEdit()->setDate(QDate(2024, 3, 9));
    {
        // "No" keeps the dialog open.
        MessageCatcher no(QMessageBox::No);
        dialog.accept();
        QTRY_COMPARE(no.texts.size(), 1);
        QVERIFY(dialog.isVisible());
    }
    MessageCatcher yes(QMessageBox::Yes);
    dialog.accept();
    QCOMPARE(dialog.GetValueText(), u"2024-03-09"_s);
    QCOMPARE(dialog.GetDataType(), short(ItemDate));
}

void TestColumnTools::columnFormatPreviewAndCancel()
{
    CADODatabase db;
    QVERIFY(db.Open(vantrel::db::ConnectionString::forSqlite(u":memory:"_s)));
    CBCGPADOGridCtrl grid;
    QVERIFY(grid.AttachConnection(&db));
    QVERIFY(grid.OpenSQL(u"SELECT 1 AS a, 'x' AS b"_s));
    grid.SetCurSel(0, 1);
    RecordsetGridModel *model = grid.GetGridModel();
    const RecordsetGridModel::ColumnFormat before { QColor(Qt::blue), QColor(), false };
    model->setColumnFormat(1, before);

    CDlgGridColFmt dialog(&grid);
    dialog.SetColumnTitle(u"姓名"_s);
    dialog.SetFormat(before);
    QCOMPARE(dialog.windowTitle(), u"列显示格式 - [姓名]"_s);
    dialog.ChooseTextColor(Qt::red);
    dialog.ChooseBackgroundColor(Qt::yellow);
    dialog.SetBold(true);
    QCOMPARE(model->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(model->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    dialog.reject();
    QCOMPARE(model->columnFormat(1), before);
    QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid());

    CDlgGridColFmt again(&grid);
    again.SetFormat(before);
    again.ChooseTextColor(QColor()); // "缺省"
    again.SetBold(true);
    again.accept();
    const RecordsetGridModel::ColumnFormat chosen { QColor(), QColor(), true };
    QCOMPARE(again.GetFormat(), chosen);
    QCOMPARE(model->columnFormat(1), chosen);
}

void TestColumnTools::nameSet()
{
    CDlgNameSet dialog;
    QCOMPARE(dialog.windowTitle(), u"新增"_s);
    dialog.show();
    MessageCatcher messages(QMessageBox::Yes);
    dialog.accept();
    QCOMPARE(messages.texts, QStringList { u"名称不能为空!"_s });
    QVERIFY(dialog.isVisible());
    dialog.nameEdit()->setText(u"   "_s);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetName(), u"   "_s);
}

QTEST_MAIN(TestColumnTools)
#include "tst_columntools.moc"
