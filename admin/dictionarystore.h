#pragma once

#include "admin/adminoutcome.h"

#include <QString>
#include <QVector>

class CADODatabase;

namespace vantrel::admin {

// A class as the class editor hands it over.
struct DictClassInput
{
    bool adding = true;
    int id = 0;          // qz_Dict.ID when changing
    bool active = true;  // taken only when changing: a new class is always active
    QString title;       // as typed
    QString openedTitle; // the title the editor was opened with
};

// An item as the item editor hands it over.
struct DictItemInput
{
    bool adding = true;
    int classId = 0; // qz_Dict.ID of the item's class, 0 when not known
    int id = 0;      // qz_DictItem.ID when changing
    QString dictId;  // class code
    QString code;    // as typed
    QString title;   // as typed
    QString parentCode;
    QString openedTitle;
    bool active = true; // taken only when changing
};

// A node of the dictionary tree: a class (id is qz_Dict.ID) or an item (qz_DictItem.ID).
struct DictNode
{
    int id = 0;
    QString dictId;
    QString code; // empty for a class
    QString title;
    bool hasChildren = false;
};

// The dictionary manager's work on the database, apart from its windows. The checks run in
// the editors' order and give the editors' messages; the writes go through the procedures.
class DictionaryStore
{
public:
    explicit DictionaryStore(CADODatabase &db) : m_db(db) { }

    AdminOutcome saveClass(const DictClassInput &input);
    AdminOutcome saveItem(const DictItemInput &input);

    // Deletes a class with its items, unless items of data structures refer to it.
    AdminOutcome deleteClass(int classId);
    // Deletes an item without children and clears its parent's child flag with its last child.
    AdminOutcome deleteItem(int itemId);

    // The classes by order; a class can be opened when one of its items has children.
    QVector<DictNode> classes(bool *ok = nullptr);
    // The items under a class (parentCode empty: its top-level items) or under one item, by
    // code, each telling whether it has children; one query.
    QVector<DictNode> children(const QString &dictId, const QString &parentCode,
                               bool *ok = nullptr);

    // The class code and, for an item, its code; empty when the row is gone.
    QString classCode(int classId);
    bool itemCodes(int itemId, QString *dictId, QString *code);
    // The qz_Dict.ID of a class code, 0 when there is none.
    int classIdOf(const QString &dictId);

private:
    int count(const QString &sql, const QVariantList &values, bool *ok);

    CADODatabase &m_db;
};

} // namespace vantrel::admin
