#include "base/batch_options.h"

#include <array>
#include <string>
#include <utility>

namespace kelmar {

namespace {

bool StartsWithDash(const std::u16string& arg) { return arg.size() > 1 && arg[0] == u'-'; }

struct Parser {
  const std::vector<std::u16string>& args;
  BatchOptions result;
  size_t i = 0;

  bool Fail(std::u16string text) {
    result = BatchOptions{};
    result.command = BatchCommand::kUsageError;
    result.fault = std::move(text);
    return false;
  }

  // The value after option `name`; false (a usage fault) where none follows.
  bool Value(const std::u16string& name, std::u16string& value) {
    if (i + 1 >= args.size() || args[i + 1].empty()) return Fail(u"选项 " + name + u" 缺少参数");
    value = args[++i];
    return true;
  }

  // The value of option `name`, one of `choices` (their names listed in the
  // fault as `names`).
  template <typename T, size_t N>
  bool Choose(const std::u16string& name, const std::array<std::pair<std::u16string_view, T>, N>& choices, T& chosen,
              std::u16string_view names) {
    std::u16string value;
    if (!Value(name, value)) return false;
    for (const auto& [text, choice] : choices)
      if (value == text) {
        chosen = choice;
        return true;
      }
    return Fail(u"选项 " + name + u" 的参数无效: " + value + u" (可用 " + std::u16string(names) + u")");
  }

  bool Type(const std::u16string& name) {
    static const std::array<std::pair<std::u16string_view, BatchOutputType>, 4> kTypes{{
        {u"ico", BatchOutputType::kIcon},
        {u"bmp", BatchOutputType::kBitmap},
        {u"original", BatchOutputType::kOriginal},
        {u"png", BatchOutputType::kPng},
    }};
    return Choose(name, kTypes, result.type, u"ico、bmp、original、png");
  }

  bool Size(const std::u16string& name) {
    static const std::array<std::pair<std::u16string_view, int>, 8> kSizes{{
        {u"largest", 0}, {u"256", 256}, {u"128", 128}, {u"64", 64}, {u"48", 48}, {u"32", 32}, {u"16", 16}, {u"all", -1},
    }};
    return Choose(name, kSizes, result.size, u"largest、256、128、64、48、32、16、all");
  }

  // Icon files and bitmaps are drawn at 32 x 32 (the largest) or 16 x 16, as
  // the window's two views; an original is the whole icon, every size.
  bool SizeFitsType() {
    const int size = result.size;
    const std::u16string value = size == 0 ? u"largest" : size < 0 ? u"all" : ToText(size);
    switch (result.type) {
      case BatchOutputType::kIcon:
      case BatchOutputType::kBitmap:
        if (size == 0 || size == 32 || size == 16) return true;
        return Fail(u"选项 --size " + value + u" 不适用于 --type " + TypeName() + u" (可用 largest、32、16)");
      case BatchOutputType::kOriginal:
        if (size <= 0) return true;
        return Fail(u"选项 --size " + value + u" 不适用于 --type original (原图保存图标的全部尺寸)");
      case BatchOutputType::kPng:
        break;
    }
    return true;
  }

  std::u16string TypeName() const { return result.type == BatchOutputType::kIcon ? u"ico" : u"bmp"; }

  static std::u16string ToText(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  }

  bool Run() {
    bool options_end = false, list = false, save = false, help = false;
    // Options that only a save takes, the first one given (for the fault).
    std::u16string save_only;
    for (i = 0; i < args.size(); ++i) {
      const std::u16string& arg = args[i];
      // "/?" can name no file: the system's own way of asking for help.
      if (options_end || (!StartsWithDash(arg) && arg != u"/?")) {
        result.paths.push_back(arg);
        continue;
      }
      if (arg == u"--") {
        options_end = true;
      } else if (arg == u"--help" || arg == u"-h" || arg == u"/?") {
        help = true;
      } else if (arg == u"--list") {
        if (list) return Fail(u"选项 --list 给出了两次");
        list = true;
      } else if (arg == u"--save") {
        if (save) return Fail(u"选项 --save 给出了两次");
        save = true;
        if (!Value(arg, result.outDir)) return false;
      } else if (arg == u"--type") {
        if (!Type(arg)) return false;
        if (save_only.empty()) save_only = arg;
      } else if (arg == u"--size") {
        if (!Size(arg)) return false;
        if (save_only.empty()) save_only = arg;
      } else if (arg == u"--overwrite") {
        result.overwrite = true;
        if (save_only.empty()) save_only = arg;
      } else if (arg == u"--recursive") {
        result.recursive = true;
      } else {
        return Fail(u"未知选项: " + arg);
      }
    }
    if (help) {
      result = BatchOptions{};
      result.command = BatchCommand::kHelp;
      return true;
    }
    if (list && save) return Fail(u"选项 --list 与 --save 不能同时使用");
    if (!list && !save) {
      // Files alone open the window with them; options without a command
      // are a fault.
      if (!save_only.empty()) return Fail(u"选项 " + save_only + u" 只能与 --save 一起使用");
      if (result.recursive) return Fail(u"选项 --recursive 只能与 --list 或 --save 一起使用");
      if (options_end && result.paths.empty()) return Fail(u"选项 -- 之后没有文件");
      return true;
    }
    if (list && !save_only.empty()) return Fail(u"选项 " + save_only + u" 只能与 --save 一起使用");
    if (save && !SizeFitsType()) return false;
    if (result.paths.empty()) return Fail(u"没有给出文件或文件夹");
    result.command = list ? BatchCommand::kList : BatchCommand::kSave;
    return true;
  }
};

}  // namespace

BatchOptions ParseBatchOptions(const std::vector<std::u16string>& args) {
  Parser parser{args, {}};
  parser.Run();
  return parser.result;
}

std::u16string BatchUsage() {
  return u"用法:\n"
         u"  kelmar [文件...]            打开窗口 (并提取给出的文件的图标)\n"
         u"  kelmar --list [--recursive] 路径...\n"
         u"      每个图标一行: 文件、索引、图标组名或编号、各图像 (尺寸、位深、PNG)\n"
         u"  kelmar --save 目标文件夹 [--type ico|bmp|original|png]\n"
         u"         [--size largest|256|128|64|48|32|16|all] [--recursive] [--overwrite] 路径...\n"
         u"      把图标保存到目标文件夹, 文件名与窗口中的\"全部保存\"相同, 编号在整个运行中连续;\n"
         u"      已有的文件不替换 (除非 --overwrite)。ico、bmp 的尺寸为 32 (largest) 或 16,\n"
         u"      original 保存图标的全部尺寸\n"
         u"  kelmar --help\n"
         u"路径可以是文件或文件夹 (文件夹中取可提取图标的文件, --recursive 包括子文件夹)。\n"
         u"退出码: 0 全部完成, 1 有文件无法读取或写入, 2 用法错误。\n";
}

}  // namespace kelmar
