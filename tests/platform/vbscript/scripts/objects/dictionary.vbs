' Scripting.Dictionary: keys in the order added, Item as the default member, numbers as keys by
' value whatever their subtype, texts by CompareMode.
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add "b", "two"
d("c") = 3
d.Item("a") = 10
Print d.Count, d("a"), d.Item("b"), d.Exists("c"), d.Exists("A")  ' => 3&, 10%, "two", True, False
Print TypeName(d), Join(d.Keys, ","), Join(d.Items, ",")          ' => "Dictionary", "a,b,c", "10,two,3"
d.Remove "b"
Print Join(d.Keys, ","), d.Count, d("c")                          ' => "a,c", 2&, 3%
x = d("missing")
Print IsEmpty(x), d.Count, d.Exists("missing")                    ' => True, 3&, True
d.RemoveAll
Print d.Count, UBound(d.Keys), d.Exists("a")                      ' => 0&, -1&, False
d.Add 1, "one"
Print d.Exists(CLng(1)), d.Exists(CDbl(1)), d.Exists(CCur(1)), d.Exists("1") ' => True, True, True, False
d.Key(1) = "uno"
d.Add Empty, "nothing yet"
Set d("obj") = CreateObject("Scripting.Dictionary")
For Each k In d : s = s & k & ";" : Next
Print s, d("uno"), d.Exists(1), d(Empty), TypeName(d("obj"))     ' => "uno;;obj;", "one", False, "nothing yet", "Dictionary"
Set t = CreateObject("scripting.dictionary")
Print t.CompareMode                                               ' => 0&
t.CompareMode = vbTextCompare
t.Add "Key", 1
Print t.Exists("KEY"), t("kEy"), t.CompareMode                    ' => True, 1%, 1&
' Counting with d(k) = d(k) + 1: a missing key reads as Empty.
Set c = CreateObject("Scripting.Dictionary")
For Each w In Split("a b a c a b")
    c(w) = c(w) + 1
Next
Print c("a"), c("b"), c("c"), c.Count                             ' => 3%, 2%, 1%, 3&
On Error Resume Next
t.Add "kEY", 2 : Print Err.Number, Err.Description : Err.Clear    ' => 457&, "This key is already associated with an element of this collection"
t.Remove "none" : Print Err.Number : Err.Clear                    ' => 32811&
t.CompareMode = 0 : Print Err.Number, t.CompareMode : Err.Clear   ' => 5&, 1&
t.Key("none") = "x" : Print Err.Number : Err.Clear                ' => 32811&
t.Add "two", 2 : t.Key("two") = "KEY" : Print Err.Number : Err.Clear ' => 457&
x = t.Nope : Print Err.Number : Err.Clear                         ' => 438&
Set o = CreateObject("Scripting.FileSystemObject") : Print Err.Number, Err.Description : Err.Clear ' => 429&, "ActiveX component can't create object"
Set o = CreateObject("WScript.Shell") : Print Err.Number, IsEmpty(o) : Err.Clear ' => 429&, True
