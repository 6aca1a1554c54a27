#!/usr/bin/python3
"""Makes "Storage Data Template.xls", the workbook that stored BMS records are
exported into: one styled header row (English over Chinese), column widths to
fit, the header frozen. Run with Debian's python3 (openpyxl), LibreOffice and
the xls-freeze-header tool of a build:

    /usr/bin/python3 make_storage_template.py BUILD_DIR
"""
import os
import subprocess
import sys
import tempfile

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side

HEADERS = [
    ("NO.", "编号", 6), ("type", "类型", 6), ("storage time", "存储时间", 20),
    ("total voltage (V)", "总电压(V)", 11), ("total current (A)", "总电流(A)", 11),
    ("SOC(%)", "SOC(%)", 8), ("SOH(%)", "SOH(%)", 8),
    ("Max Cell Voltage (v)", "最高单压(v)", 12), ("NO.of Max Voltage", "最高单压序号", 12),
    ("Min Cell Voltage (v)", "最低单压(v)", 12), ("NO.of Min Voltage", "最低单压序号", 12),
    ("Voltage difference (v)", "压差(v)", 12), ("Max temperature (℃)", "最高温度(℃)", 13),
    ("NO.of Max temperature", "最高温度序号", 13), ("Min temperature (℃)", "最低温度(℃)", 13),
    ("NO.of Min temperature", "最低温度序号", 13), ("Alarm status", "报警状态", 40),
    ("Protection status", "保护状态", 40), ("Fault status", "故障状态", 40),
    ("system state", "MOS状态", 40),
]


def main(build_dir, out_dir):
    wb = Workbook()
    ws = wb.active
    ws.title = "Store data"
    thin = Side(style="thin", color="808080")
    for col, (en, zh, width) in enumerate(HEADERS, start=1):
        cell = ws.cell(row=1, column=col, value=f"{en}\n{zh}")
        cell.font = Font(bold=True, color="FFFFFF")
        cell.fill = PatternFill("solid", fgColor="1F4E79")
        cell.alignment = Alignment(horizontal="center", vertical="center", wrap_text=True)
        cell.border = Border(left=thin, right=thin, top=thin, bottom=thin)
        ws.column_dimensions[cell.column_letter].width = width
    ws.row_dimensions[1].height = 45
    ws.freeze_panes = "A2"
    with tempfile.TemporaryDirectory() as tmp:
        xlsx = os.path.join(tmp, "Storage Data Template.xlsx")
        wb.save(xlsx)
        subprocess.run(["soffice", "--headless", "--convert-to", "xls", "--outdir", out_dir, xlsx],
                       check=True, stdout=subprocess.DEVNULL)
    out = os.path.join(out_dir, "Storage Data Template.xls")
    subprocess.run([os.path.join(build_dir, "src/records/templates/xls-freeze-header"), out],
                   check=True)


if __name__ == "__main__":
    main(sys.argv[1], os.path.dirname(os.path.abspath(__file__)))
