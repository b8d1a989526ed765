#include "payroll/wageitemsave.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/script/wageformula.h"
#include "core/util/stringtable.h"
#include "payroll/wagesetupnames.h"

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

WageItemSaveOutcome refuse(const QString &message, WageItemField focus = WageItemField::None)
{
    WageItemSaveOutcome outcome;
    outcome.message = message;
    outcome.focus = focus;
    return outcome;
}

WageItemSaveOutcome settled()
{
    WageItemSaveOutcome outcome;
    outcome.saved = true;
    return outcome;
}

// The formula, standard table and reference of the item as its kind keeps them; a refusal
// when they do not fit.
WageItemSaveOutcome settleSource(WageItemFields &fields)
{
    fields.formulaRewritten.clear();
    if (fields.dataType == 3) {
        if (fields.dictionaryCode.trimmed().isEmpty())
            return refuse(u"参照项不能为空!"_s, WageItemField::Dictionary);
        fields.formula.clear();
        fields.standardTableId = 0;
        return settled();
    }
    if (fields.dataType != 0) { // text and date items keep what they are
        fields.formula.clear();
        fields.standardTableId = 0;
        return settled();
    }
    fields.dictionaryCode.clear();
    if (fields.property == 1) {
        if (fields.formula.isEmpty())
            return refuse(u"错误：公式内容不能为空!"_s, WageItemField::Formula);
        StripBracketsInQuotes(fields.formula);
        if (const Status checked = CheckWageFormula(fields.formula); !checked)
            return refuse(checked.error(), WageItemField::Formula);
        fields.formulaRewritten = fields.formula;
        ReplaceFormulaReferences(fields.formulaRewritten);
        fields.standardTableId = 0;
    } else if (fields.property == 2) {
        if (fields.standardTableId <= 0)
            return refuse(u"请选择标准表!"_s, WageItemField::StandardTable);
        fields.formula.clear();
    } else {
        fields.formula.clear();
        fields.standardTableId = 0;
    }
    return settled();
}

// A row test's answer as a refusal: the stale-row text, or the query's error.
bool rowGone(const Result<bool> &exists, const QString &goneText, WageItemSaveOutcome *outcome)
{
    if (!exists) {
        *outcome = refuse(exists.error());
        return true;
    }
    if (!*exists) {
        *outcome = refuse(goneText);
        return true;
    }
    return false;
}

} // namespace

WageItemSaveOutcome SaveWageItem(CADODatabase &db, WageItemFields &fields)
{
    const QString name = fields.alias.trimmed();
    if (name.isEmpty())
        return refuse(u"错误：项目名不能为空!"_s, WageItemField::Name);
    if (fields.isNew || name != fields.aliasBefore) {
        const Result<bool> taken = IsWageItemAliasTaken(db, name, fields.isNew ? 0 : fields.itemId);
        if (!taken)
            return refuse(taken.error(), WageItemField::Name);
        if (*taken)
            return refuse(u"错误：该项目已存在!"_s, WageItemField::Name);
    }
    WageItemSaveOutcome outcome;
    if (rowGone(RecordExists(u"qz_Table"_s, u"ID = ? AND nType = ?"_s,
                             { fields.sid, WageSetTableType }, &db),
                LoadResString(118), &outcome))
        return outcome;
    fields.alias = name;
    outcome = settleSource(fields);
    if (!outcome.saved)
        return outcome;
    if (!fields.isNew
        && rowGone(RecordExists(u"qz_Items"_s, u"ItemID = ?"_s, { fields.itemId }, &db),
                   LoadResString(133), &outcome))
        return outcome;

    CADOCommand command(&db, u"qz_AddDBTableWageItem"_s);
    CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
    returned.SetValue(-1);
    command.AddParameterObject(&returned);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, fields.sid);
    command.AddParameterInt(u"Active"_s, adInteger, adParamInput, 4, fields.active ? 1 : 0);
    command.AddParameterInt(u"ItemID"_s, adInteger, adParamInput, 4,
                            fields.isNew ? 0 : fields.itemId);
    command.AddParameterText(u"Alias"_s, adVarChar, adParamInput, 50, fields.alias);
    command.AddParameterInt(u"DataType"_s, adInteger, adParamInput, 4, fields.dataType);
    command.AddParameterText(u"IdRef"_s, adVarChar, adParamInput, 100, fields.dictionaryCode);
    command.AddParameterInt(u"Property"_s, adInteger, adParamInput, 4, fields.property);
    command.AddParameterInt(u"Retain"_s, adInteger, adParamInput, 4, fields.retain ? 1 : 0);
    command.AddParameterInt(u"StdTblID"_s, adInteger, adParamInput, 4, fields.standardTableId);
    command.AddParameterInt(u"FieldDec"_s, adInteger, adParamInput, 4, fields.decimals);
    command.AddParameterInt(u"Choice"_s, adInteger, adParamInput, 4, fields.rounding);
    command.AddParameterText(u"FExp"_s, adLongVarWChar, adParamInput, -1, fields.formulaRewritten);
    command.AddParameterText(u"FExp2"_s, adLongVarWChar, adParamInput, -1, fields.formula);
    const QVariant id = command.ExecuteScalar();
    if (returned.GetValue().toInt() != 0 || id.toInt() <= 0) {
        outcome = refuse(u"错误：保存到数据库时失败!"_s);
        outcome.warning = true;
        if (!command.GetLastErrorString().isEmpty())
            outcome.message += u"\n\n"_s + command.GetLastErrorString();
        return outcome;
    }
    fields.itemId = id.toInt();
    return outcome;
}

} // namespace vantrel::payroll
