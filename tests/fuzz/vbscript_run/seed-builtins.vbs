Dim a : a = Array(1, "2", #3/4/2005#, 4.5, CCur(6), True, Null, Empty)
x = Join(Filter(Split("a,b,ab", ","), "a"), ";") & Hex(-1) & Oct(8) & Escape("a b")
y = CDbl("$1,234.50") + CLng("(5)") + Round(2.675, 2) + DateDiff("d", "1/1/99", Now)
If IsNumeric("1-") Then z = Mid(FormatNumber(y, 2), 2, 3) Else z = UCase(Left(x, 2))
Set d = CreateObject("Scripting.Dictionary") : d("k") = a(1) : d.Add 1, UBound(a)
Set r = CreateObject("VBScript.RegExp") : r.Pattern = "(\w)b" : r.Global = True
w = r.Replace(x, "$1") & r.Execute("ab cb")(1).SubMatches(0) & Join(d.Keys, ",")
On Error Resume Next : Err.Raise 6 : q = Err.Number & MonthName(2) & WeekdayName(3)
