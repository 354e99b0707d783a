#include "formats/JsonTableFile.h"

#include "core/NameLists.h"
#include "formats/ReaderText.h"
#include "formats/RecordCollector.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace varnel {
namespace {

using Json = nlohmann::json;

constexpr std::string_view formatName = "varnel-rom-tables";
constexpr int formatVersion = 1;

// Far deeper than any file this program writes (4), and shallow enough that
// nothing that walks the document recursively can exhaust the stack.
constexpr std::size_t depthLimit = 64;

// A first pass that builds nothing: it finds where a broken text breaks
// (position included, which the document parser does not give for every
// error) and refuses nesting beyond the limit before a document is built.
class SyntaxCheck : public Json::json_sax_t {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return deeper(); }
    bool key(string_t&) override { return true; }
    bool end_object() override { return shallower(); }
    bool start_array(std::size_t) override { return deeper(); }
    bool end_array() override { return shallower(); }

    bool parse_error(std::size_t position, const std::string& lastToken, const Json::exception&) override {
        brokenAt = position;
        brokenToken = lastToken;
        return false;
    }

    std::optional<std::size_t> brokenAt;  // characters read when parsing failed
    std::string brokenToken;
    bool tooDeep = false;

private:
    bool deeper() {
        tooDeep = ++depth_ > depthLimit;
        return !tooDeep;
    }
    bool shallower() {
        --depth_;
        return true;
    }

    std::size_t depth_ = 0;
};

// A value as JSON text, for quoting in a message.
std::string valueText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The 1-based line of the character at which parsing stopped.
std::size_t lineAt(std::string_view text, std::size_t charactersRead) {
    const std::string_view before = text.substr(0, std::min(text.size(), charactersRead > 0 ? charactersRead - 1 : 0));
    return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

bool checkHeader(const Json& document, RecordCollector& collector) {
    if (!document.is_object()) {
        collector.problem("", "文件顶层应是一个 JSON 对象，却是" + quotedText(valueText(document)) + "。");
        return false;
    }
    bool usable = true;
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || format->get_ref<const std::string&>() != formatName) {
        const std::string found = format == document.end() ? "缺少格式名" : "格式名" + quotedText(valueText(*format)) + "不对";
        collector.problem("format", found + "，应为" + quotedText(formatName) + "。");
        usable = false;
    }
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer() || *version != formatVersion) {
        const std::string found = version == document.end() ? "缺少版本号" : "版本号" + quotedText(valueText(*version)) + "不对";
        collector.problem("version", found + "，这个程序只读得懂版本 1。");
        usable = false;
    }
    const auto records = document.find("records");
    if (records == document.end() || !records->is_array()) {
        const std::string found = records == document.end() ? "缺少记录数组" : "records 应是数组，却是" + quotedText(valueText(*records));
        collector.problem("records", found + "。");
        usable = false;
    }
    return usable;
}

void readRecord(const Json& record, RecordCollector& collector) {
    if (!record.is_object()) {
        collector.problem("", "记录应是一个 JSON 对象，却是" + quotedText(valueText(record)) + "。");
        return;
    }
    std::optional<TableKind> kind;
    const auto table = record.find("table");
    if (table == record.end()) {
        collector.problem("table", "记录里缺少 table。");
    } else if (!table->is_string()) {
        collector.problem("table", "table 应是字符串，却是" + quotedText(valueText(*table)) + "。");
    } else {
        kind = collector.table(table->get_ref<const std::string&>());
    }

    std::optional<int> index;
    const auto indexValue = record.find("index");
    if (indexValue == record.end()) {
        collector.problem("index", "记录里缺少 index。");
    } else if (indexValue->is_number_unsigned()) {
        index = collector.index(kind, indexValue->get<std::uint64_t>(), valueText(*indexValue));
    } else {
        collector.indexNotWhole(valueText(*indexValue));
    }

    ItemRecord fields{};
    const auto fieldValues = record.find("fields");
    if (fieldValues == record.end()) {
        collector.problem("fields", "记录里缺少 fields。");
    } else if (!fieldValues->is_array() || fieldValues->size() != fields.size()) {
        collector.problem("fields", "fields 应是正好 8 个整数的数组，却是" + quotedText(valueText(*fieldValues)) + "。");
    } else {
        for (std::size_t field = 0; field < fields.size(); ++field) {
            const Json& value = (*fieldValues)[field];
            if (value.is_number_unsigned() && value.get<std::uint64_t>() <= 255) {
                fields[field] = value.get<std::uint8_t>();
            } else {
                collector.problem("fields", "fields 的第 " + std::to_string(field + 1) + " 个值" +
                                                quotedText(valueText(value)) + "不是 0 到 255 之间的整数。");
            }
        }
    }

    std::string_view name;
    const auto nameValue = record.find("name");
    if (nameValue != record.end()) {
        if (nameValue->is_string()) {
            name = nameValue->get_ref<const std::string&>();
        } else {
            collector.problem("name", "name 应是字符串，却是" + quotedText(valueText(*nameValue)) + "。");
        }
    }
    collector.endRow(kind, index, name, fields);
}

}  // namespace

std::string writeJson(std::span<const TableRecord> records) {
    // Laid out by hand so that each record is one line; every value is written by the library.
    std::string text = "{\n  \"format\": " + Json(formatName).dump() + ",\n  \"version\": " + Json(formatVersion).dump() +
                       ",\n  \"records\": [";
    for (std::size_t position = 0; position < records.size(); ++position) {
        const TableRecord& record = records[position];
        const nlohmann::ordered_json line{{"table", tableKey(record.kind)},
                                          {"index", record.index},
                                          {"name", recordName(record.kind, record.index)},
                                          {"fields", record.fields}};
        text += (position == 0 ? "\n    " : ",\n    ") + line.dump();
    }
    return text + (records.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

TableFileContents readJson(std::string_view text) {
    text = withoutByteOrderMark(text);
    RecordCollector collector;
    SyntaxCheck check;
    Json::sax_parse(text.begin(), text.end(), &check);
    if (check.brokenAt) {
        collector.beginRow(lineAt(text, *check.brokenAt), 0);
        collector.problem("", "JSON 格式有误，出错处是" + quotedText(check.brokenToken) + "。");
        return std::move(collector).take();
    }
    if (check.tooDeep) {
        collector.problem("", "JSON 嵌套超过 " + std::to_string(depthLimit) + " 层，不是这个程序能读的表格文件。");
        return std::move(collector).take();
    }
    // Each record is checked as soon as the parser has it, and then dropped,
    // so that a large file never stands whole in memory.
    bool inRecords = false;
    std::size_t position = 0;
    const auto takeRecords = [&](int depth, Json::parse_event_t event, Json& parsed) {
        using Event = Json::parse_event_t;
        if (depth == 1 && event == Event::key) inRecords = false;
        if (depth == 1 && event == Event::key && parsed == "records") inRecords = true;
        const bool completeValue = event == Event::value || event == Event::object_end || event == Event::array_end;
        if (depth != 2 || !inRecords || !completeValue) return true;
        collector.beginRow(0, ++position);
        readRecord(parsed, collector);
        return false;
    };
    const Json document = Json::parse(text.begin(), text.end(), takeRecords, false);
    RecordCollector headerCollector;
    if (!checkHeader(document, headerCollector)) return std::move(headerCollector).take();
    return std::move(collector).take();
}

}  // namespace varnel
