#!/usr/bin/python3
"""Makes "Real time data template.xlsx", the workbook that live recordings are
converted into: one styled header row (English over Chinese) for the 95 fields
of a recording line, column widths to fit, the header frozen. Run with
Debian's python3 (openpyxl):

    /usr/bin/python3 make_realtime_template.py
"""
import os

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side

HEADERS = [
    ("No.", "序号", 7), ("Time", "时间", 20), ("Model", "型号", 14),
    ("Software ver", "软件版本", 12), ("Hardware ver", "硬件版本", 12), ("Item", "项目", 12),
    ("Battery Id", "电池ID", 18), ("Custom", "自定义", 14), ("BMSADD", "BMS地址", 8),
    ("Cell number", "电池数量", 8), ("NTC number", "温度数量", 8),
    ("Total Voltage(V)", "总电压(V)", 10), ("Total Current(A)", "总电流(A)", 10),
    ("SOC(%)", "SOC(%)", 8), ("SOH(%)", "SOH(%)", 8),
    ("T_Average(℃)", "平均温度(℃)", 10), ("V_Average(V)", "平均电压(V)", 10),
    ("T_MOS(℃)", "MOS温度(℃)", 10), ("V_difference(V)", "压差(V)", 10),
    ("T_difference(℃)", "温差(℃)", 10), ("T_Ambien(℃)", "环境温度(℃)", 10),
    ("Full Capacity(AH)", "实际容量(AH)", 10), ("Cycle Count", "循环次数", 8),
    ("Working State", "工作状态", 12),
    ("Min Cell Voltage(V)", "最低单体电压(V)", 11), ("NO.of Min Voltage", "最低单体电压序号", 11),
    ("Max Cell Voltage(V)", "最高单体电压(V)", 11), ("NO.of Max Voltage", "最高单体电压序号", 11),
    ("Min temperature(℃)", "最低单体温度(℃)", 11), ("NO.of Min temperature", "最低单体温度序号", 11),
    ("Max temperature(℃)", "最高单体温度(℃)", 11), ("NO.of Max temperature", "最高单体温度序号", 11),
    ("D_mos", "放电mos", 8), ("C_mos", "充电mos", 8), ("Pre_mos", "预放mos", 8),
    ("Heat_mos", "加热", 8), ("GPS", "GPS", 8), ("Charger", "充电器", 8), ("Load", "负载", 8),
    ("SW1", "开关1", 8), ("SW2", "开关2", 8), ("D_StrongOff", "强关放电", 10),
    ("C_StrongOff", "强关充电", 10), ("ActiveBalan", "主动均衡", 10),
    ("Reserved16", "保留16", 9), ("Reserved17", "保留17", 9), ("Reserved18", "保留18", 9),
    ("Reserved19", "保留19", 9),
    ("Alarm status", "告警状态", 30), ("Protection status", "保护状态", 30),
    ("Fault status", "故障状态", 30),
]
HEADERS += [(f"cell_{i:02d}(V)", f"单节{i:02d}(V)", 9) for i in range(1, 33)]
HEADERS += [(f"T_{i:02d}(℃)", f"温度{i:02d}(℃)", 9) for i in range(1, 13)]
assert len(HEADERS) == 95


def main(out_dir):
    wb = Workbook()
    ws = wb.active
    ws.title = "Real time data"
    thin = Side(style="thin", color="808080")
    for col, (en, zh, width) in enumerate(HEADERS, start=1):
        cell = ws.cell(row=1, column=col, value=f"{en}\n{zh}")
        cell.font = Font(bold=True, color="FFFFFF")
        cell.fill = PatternFill("solid", fgColor="1F4E79")
        cell.alignment = Alignment(horizontal="center", vertical="center", wrap_text=True)
        cell.border = Border(left=thin, right=thin, top=thin, bottom=thin)
        ws.column_dimensions[cell.column_letter].width = width
    ws.row_dimensions[1].height = 45
    ws.freeze_panes = "C2"
    wb.save(os.path.join(out_dir, "Real time data template.xlsx"))


if __name__ == "__main__":
    main(os.path.dirname(os.path.abspath(__file__)))
