#include "base/ChineseOnlyText.h"

#include <array>
#include <utility>

namespace {

using Entry = std::pair<ChineseOnlyText, const char *>;
using T = ChineseOnlyText;

constexpr std::array table{
    Entry{T::portInvalid, "端口 %1无效. 请设置正确."},
    Entry{T::portTimeoutsInvalid, "端口超时设定无效 %1 错误: %2"},
    Entry{T::portSettingsInvalid, "无效设备 DCB 块 %1 错误: %2"},
    Entry{T::parameterEmpty, "参数不能为空"},
    Entry{T::storedCountRead, "读取历史数据数量成功"},
    Entry{T::upgradeNotice, "升级提示"},
    Entry{T::bootUpgradeWarning,
          "注意：即将升级BOOT，中途不能重启，如文件错误会导致升级失败将无法再次升级,"
          "请确认是否继续?"},
    Entry{T::binFileOnly, "请选择BIN文件"},
    Entry{T::languageDialogTitle, "语言选择Language selection"},
    Entry{T::chineseChoice, "中文"},
    Entry{T::languageConfirm, "确认(OK)"},
};

// One row per text, in the order of the enumeration, so a lookup is an index.
constexpr bool inOrder()
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (std::size_t(table[i].first) != i)
            return false;
    return table.size() == std::size_t(T::languageConfirm) + 1;
}
static_assert(inOrder(), "one row per ChineseOnlyText, in its order");

} // namespace

QString chineseOnly(ChineseOnlyText text)
{
    return QString::fromUtf8(table[std::size_t(text)].second);
}
