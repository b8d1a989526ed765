#include "payroll/psnchooserlist.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"

#include <QRegularExpression>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

Status failed(CADODatabase &db, const QString &what)
{
    return Status::failure(what + u"\n"_s + db.GetLastErrorString());
}

// Inserts the ticked persons (or the one person) not yet members, then clears them off the list.
const QString insertMembers
    = u"INSERT INTO qz_WagePsn (SID, PID, Ord) SELECT ?, K.PID, K.ord FROM qz_PsnPickWork K"
      u" WHERE K.WorkKey = ? AND %1 AND NOT EXISTS"
      u" (SELECT 1 FROM qz_WagePsn W WHERE W.SID = ? AND W.PID = K.PID)"_s;

} // namespace

QString NewChooserWorkKey()
{
    return u"wpk"_s + QUuid::createUuid().toString(QUuid::Id128);
}

bool IsChooserWorkKey(const QString &key)
{
    static const QRegularExpression pattern(u"^wpk[0-9a-f]{32}$"_s);
    return pattern.match(key).hasMatch();
}

Status FillChooserRows(CADODatabase &db, const QString &key, int sid, int did, const QDateTime &now)
{
    if (!IsChooserWorkKey(key))
        return Status::failure(u"'%1' is no chooser list."_s.arg(key));
    const db::QueryResult last
        = db.run(u"SELECT MAX(Ord) FROM qz_WagePsn WHERE SID = ?"_s, { sid });
    if (!last.ok)
        return Status::failure(last.error.description);
    QString sql
        = u"INSERT INTO qz_PsnPickWork (WorkKey, PID, CKD, ord, Created)"
          u" SELECT ?, P.PID, 0, ? + ROW_NUMBER() OVER"
          u" (ORDER BY D.Ord, P.Ord, P.Number, P.PID), ?"
          u" FROM qz_PsnBase P LEFT JOIN qz_Dept D ON D.DID = P.DID"
          u" WHERE NOT EXISTS (SELECT 1 FROM qz_WagePsn W WHERE W.SID = ? AND W.PID = P.PID)"_s;
    QVariantList values { key, last.scalar().toInt(), now, sid };
    if (did != 0) {
        sql += u" AND CHARINDEX(?, D.ParentArr) > 0"_s;
        values << u"|%1|"_s.arg(did);
    }
    const db::QueryResult stale = db.run(
        u"DELETE FROM qz_PsnPickWork WHERE WorkKey = ? OR Created < ?"_s, { key, now.addDays(-1) });
    if (!stale.ok)
        return Status::failure(stale.error.description);
    const db::QueryResult filled = db.run(sql, values);
    return filled.ok ? Status() : Status::failure(filled.error.description);
}

Status DeleteChooserRows(CADODatabase &db, const QString &key)
{
    if (!IsChooserWorkKey(key))
        return Status::failure(u"'%1' is no chooser list."_s.arg(key));
    const db::QueryResult deleted
        = db.run(u"DELETE FROM qz_PsnPickWork WHERE WorkKey = ?"_s, { key });
    return deleted.ok ? Status() : Status::failure(deleted.error.description);
}

PsnPickList::PsnPickList(CADODatabase &db) : m_db(db), m_key(NewChooserWorkKey()) { }

PsnPickList::~PsnPickList()
{
    if (m_db.IsOpen())
        DeleteChooserRows(m_db, m_key);
}

Status PsnPickList::setTicked(int pid, bool ticked)
{
    if (!m_db.Execute(u"UPDATE qz_PsnPickWork SET CKD = ? WHERE WorkKey = ? AND PID = ?"_s,
                      { ticked ? 1 : 0, m_key, pid }))
        return failed(m_db, u"The tick could not be stored."_s);
    return {};
}

Status PsnPickList::setAllTicked(bool ticked)
{
    if (!m_db.Execute(u"UPDATE qz_PsnPickWork SET CKD = ? WHERE WorkKey = ?"_s,
                      { ticked ? 1 : 0, m_key }))
        return failed(m_db, u"The ticks could not be stored."_s);
    return {};
}

Result<int> PsnPickList::tickedCount()
{
    const db::QueryResult count = m_db.run(
        u"SELECT COUNT(PID) FROM qz_PsnPickWork WHERE WorkKey = ? AND CKD = 1"_s, { m_key });
    if (!count.ok)
        return Result<int>::failure(count.error.description);
    return count.scalar().toInt();
}

PsnChooserList::PsnChooserList(CADODatabase &db, int sid) : PsnPickList(db), m_sid(sid) { }

Status PsnChooserList::build(int did)
{
    CADOCommand command(&m_db, u"qz_CreateTmpTblForWageSortPsnSelect"_s);
    command.AddParameterText(u"TblName"_s, adVarChar, adParamInput, 50, m_key);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_sid);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, did);
    return command.Execute() ? Status() : Status::failure(command.GetLastErrorString());
}

Result<int> PsnChooserList::addTicked()
{
    db::DbTransaction transaction(m_db);
    const db::QueryResult inserted
        = m_db.run(insertMembers.arg(u"K.CKD = 1"_s), { m_sid, m_key, m_sid });
    if (!inserted.ok)
        return Result<int>::failure(inserted.error.description);
    if (!m_db.Execute(u"DELETE FROM qz_PsnPickWork WHERE WorkKey = ? AND CKD = 1"_s, { m_key })
        || !transaction.commit())
        return Result<int>::failure(m_db.GetLastErrorString());
    return int(inserted.rowsAffected);
}

Status PsnChooserList::addOne(int pid, int ord)
{
    db::DbTransaction transaction(m_db);
    if (!m_db.Execute(u"INSERT INTO qz_WagePsn (SID, PID, Ord) SELECT ?, ?, ? WHERE NOT EXISTS"
                      u" (SELECT 1 FROM qz_WagePsn W WHERE W.SID = ? AND W.PID = ?)"_s,
                      { m_sid, pid, ord, m_sid, pid })
        || !m_db.Execute(u"DELETE FROM qz_PsnPickWork WHERE WorkKey = ? AND PID = ?"_s,
                         { m_key, pid })
        || !transaction.commit())
        return failed(m_db, u"The person could not be added."_s);
    return {};
}

Status PsnChooserList::drop()
{
    CADOCommand command(&m_db, u"qz_DeleteTmpTbl"_s);
    command.AddParameterText(u"TblName"_s, adVarChar, adParamInput, 50, m_key);
    return command.Execute() ? Status() : Status::failure(command.GetLastErrorString());
}

} // namespace vantrel::payroll
