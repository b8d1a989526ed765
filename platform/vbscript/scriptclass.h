#pragma once

#include "platform/vbscript/procedure.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace vantrel::vbscript {

// A Class of a script: its variables and its Subs, Functions and Properties, found by folded
// name. Its procedures point into the Program that defined it.
struct ScriptClass
{
    struct Member
    {
        QString name;
        bool isPublic = true;
        int field = -1; // a variable of each instance; else the procedures below
        bool isArray = false;
        std::vector<qint32> bounds;
        std::shared_ptr<Procedure> method; // Sub or Function
        std::shared_ptr<Procedure> get;
        std::shared_ptr<Procedure> let;
        std::shared_ptr<Procedure> set;
    };

    QString name;
    int line = 0;
    int column = 0;
    std::vector<Member> members;
    QHash<QString, int> byName;
    int fieldCount = 0;
    int defaultMember = -1;
    std::shared_ptr<Procedure> initialize;
    std::shared_ptr<Procedure> terminate;

    template<typename Visit> void forEachProcedure(Visit visit) const
    {
        for (const Member &member : members) {
            for (const auto &p : { member.method, member.get, member.let, member.set }) {
                if (p)
                    visit(*p);
            }
        }
    }
};

} // namespace vantrel::vbscript
