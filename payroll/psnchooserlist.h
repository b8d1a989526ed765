#pragma once

#include "payroll/wagesetupqueries.h"
#include "platform/common/result.h"

#include <QDateTime>
#include <QString>

class CADODatabase;

namespace vantrel::payroll {

// The work key of one open chooser: "wpk" and 32 hexadecimal digits, new for every chooser.
QString NewChooserWorkKey();
bool IsChooserWorkKey(const QString &key);

// The statements behind the chooser procedures, on db inside the caller's transaction.
// Fills the key's list afresh with the persons of department did and below (0: all) who are
// not members of wage set sid, unticked, each with the order it would get as a member (after
// the set's last, in department order, person order and number); drops the lists of every
// chooser older than a day (left over by a session that ended hard).
Status FillChooserRows(CADODatabase &db, const QString &key, int sid, int did,
                       const QDateTime &now = QDateTime::currentDateTime());
Status DeleteChooserRows(CADODatabase &db, const QString &key);

// The ticks of one open chooser's person list: its rows live in qz_PsnPickWork under the
// chooser's own key, so two choosers (also of one operator) never share ticks, and they go
// when this object goes. Every call runs on the connection given, which must outlive it;
// failures say why and change nothing.
class PsnPickList
{
public:
    explicit PsnPickList(CADODatabase &db);
    virtual ~PsnPickList();
    PsnPickList(const PsnPickList &) = delete;
    PsnPickList &operator=(const PsnPickList &) = delete;

    const QString &workKey() const { return m_key; }
    BoundQuery listQuery() const { return ChooserListQuery(m_key); }

    Status setTicked(int pid, bool ticked);
    Status setAllTicked(bool ticked);
    Result<int> tickedCount();

protected:
    CADODatabase &m_db;
    QString m_key;
};

// The person list of the member chooser of wage set sid.
class PsnChooserList : public PsnPickList
{
public:
    PsnChooserList(CADODatabase &db, int sid);

    int sid() const { return m_sid; }

    // qz_CreateTmpTblForWageSortPsnSelect for the department (0: all).
    Status build(int did);
    // Makes the ticked persons members (those already members are skipped) and takes them off
    // the list, in one transaction; the number of members added.
    Result<int> addTicked();
    // Makes one person a member with the order given and takes the person off the list.
    Status addOne(int pid, int ord);
    // qz_DeleteTmpTbl: the list goes (also done by the destructor).
    Status drop();

private:
    int m_sid;
};

} // namespace vantrel::payroll
