#!/usr/bin/python3
# Writes people.xls, the Excel 97-2003 fixture of tst_workbookreader, with xlwt (Debian
# package python3-xlwt). Run it from this folder to refresh the fixture on purpose.
import datetime

import xlwt

book = xlwt.Workbook(encoding="utf-8")
date = xlwt.easyxf(num_format_str="YYYY-MM-DD")
date_time = xlwt.easyxf(num_format_str="YYYY-MM-DD HH:MM:SS")
time = xlwt.easyxf(num_format_str="HH:MM:SS")

people = book.add_sheet("人员")
for column, title in enumerate(["编号", "姓名", "", "入职日期", "工资", "在职", "备注"]):
    if title:
        people.write(0, column, title)
people.write(1, 0, 1001)
people.write(1, 1, "张三")
people.write(1, 2, "x")
people.write(1, 3, datetime.date(2020, 3, 15), date)
people.write(1, 4, 8500.5)
people.write(1, 5, True)
people.write(1, 6, '他说"你好"')
people.write(2, 0, 1002)
people.write(2, 1, "李四")
people.write(2, 3, datetime.datetime(2021, 7, 1, 8, 30), date_time)
people.write(2, 4, 12000)
people.write(2, 5, False)
# Row 3 stays empty; row 4 follows it.
people.write(4, 0, 1003)
people.write(4, 1, "O'Brien")
people.write(4, 3, datetime.time(13, 45), time)
people.write(4, 4, -1.25)
# Formatted but empty cells below the data are no rows.
people.write(6, 0, None, date)
people.write(7, 2, "")

second = book.add_sheet("Second")
second.write(0, 0, "A")
second.write(0, 1, "B")
second.write(1, 0, 1)
second.write(1, 1, "x")

book.save("people.xls")
