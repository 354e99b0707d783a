// What the page's JavaScript can call. Each call that can fail is a boundary:
// it returns {ok: true, …} or {ok: false, message}, never throws into the page.

#include "core/ErrorText.h"
#include "core/NameLists.h"
#include "core/TableLayout.h"
#include "core/TableTexts.h"
#include "formats/Crc32.h"
#include "formats/FormatError.h"
#include "formats/ResultTexts.h"
#include "formats/TableFile.h"
#include "formats/TableFileReader.h"
#include "formats/TableFileWriter.h"
#include "formats/TextEncoding.h"
#include "web/ImageSession.h"
#include "web/PageTexts.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnel::web {
namespace {

using emscripten::val;

template <typename Container>
val array(const Container& items) {
    val list = val::array();
    for (const auto& item : items) list.call<void>("push", val(std::string(item)));
    return list;
}

// Copies the page's Uint8Array into C++ memory in one step.
std::vector<std::uint8_t> bytesOf(const val& array) {
    std::vector<std::uint8_t> bytes(array["length"].as<std::size_t>());
    val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<void>("set", array);
    return bytes;
}

// A Uint8Array of the page's own, not a view into C++ memory that may move.
val uint8Array(const std::vector<std::uint8_t>& bytes) {
    return val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
}

val uint8Array(const std::string& text) {
    return uint8Array(std::vector<std::uint8_t>(text.begin(), text.end()));
}

val succeeded() {
    val result = val::object();
    result.set("ok", true);
    return result;
}

val refused(const std::string& message) {
    val result = val::object();
    result.set("ok", false);
    result.set("message", message);
    return result;
}

// Where failures become messages: `doing` says what was being done to which file.
template <typename Call>
val guarded(const std::string& doing, Call&& call) {
    try {
        return call();
    } catch (const Error& error) {
        return refused(failed(doing, reason(error)));
    } catch (const FormatError& error) {
        return refused(failed(doing, error.what()));
    } catch (const std::bad_alloc&) {
        return refused(failed(doing, "内存不足。"));
    } catch (const std::exception& error) {
        return refused(failed(doing, std::string("意外错误：") + error.what()));
    }
}

// One of the enums registered below, as the page passes it (Module.TableKind.Magic).
// embind alone would read anything else, a string or a number, as the first value.
template <typename Enum>
Enum choice(const val& value, const char* type, const std::string& what) {
    if (!value.instanceof(val::module_property(type))) throw std::invalid_argument("页面给出了未知的" + what + "。");
    return value.as<Enum>();
}

// The three tables as the page lays them out: titles, fields per record, captions, names.
val tables() {
    val list = val::array();
    for (const TableSpec& table : tableSpecs) {
        std::vector<std::string> captions;
        for (const std::string_view caption : fieldCaptions(table.kind)) captions.push_back(plainCaption(caption));
        val entry = val::object();
        entry.set("kind", table.kind);
        entry.set("key", std::string(tableKey(table.kind)));
        entry.set("title", std::string(tableTitle(table.kind)));
        entry.set("fieldsPerRecord", recordSize);
        entry.set("captions", array(captions));
        entry.set("names", array(names(nameListOf(table.kind))));
        list.call<void>("push", entry);
    }
    return list;
}

// A file made for the person to keep: its name, its bytes, and what the page says once it is handed over.
val handOver(PageAction action, const std::string& name, val bytes) {
    val result = succeeded();
    result.set("message", handedOver(action, name, bytes["length"].as<std::size_t>()));
    result.set("name", name);
    result.set("bytes", std::move(bytes));
    return result;
}

// What the page says when something it did itself failed: reading a file,
// hashing, handing a file over. `key` names one of pageActions.
std::string failureText(const std::string& key, const std::string& file, const std::string& why) {
    const std::optional<PageAction> action = pageActionOf(key);
    return failed(action ? doing(*action, file) : key + " " + file, why);
}

// The image's base name with another extension: a.nes → a.bps.
std::string renamed(const std::string& name, const std::string& extension) {
    return std::filesystem::path(name).replace_extension(extension).filename().string();
}

// A listing as the page shows it: the summary is the message, the lines its list.
val listed(val result, const Listing& listing) {
    result.set("message", listing.summary);
    result.set("lines", array(listing.lines));
    return result;
}

val infoRow(const FactRow& row) {
    val pair = val::array();
    pair.call<void>("push", row.term);
    pair.call<void>("push", row.value);
    return pair;
}

// The page hashes SHA-1 itself and has digestLine() word the result.
val digest(const std::string& term, std::uint32_t crc, std::uint64_t from) {
    val entry = val::object();
    entry.set("term", term);
    entry.set("crc32", crc);
    entry.set("from", static_cast<double>(from));
    return entry;
}

class Session {
public:
    Session() : session_("/session") {}

    // A refusal before a file is read: whether it is too large for its kind.
    val checkSize(const std::string& name, double size, bool tableFile) const {
        const std::uint64_t limit = tableFile ? tableFileLimit : pageBinaryFileLimit;
        if (size > static_cast<double>(limit)) return refused(tooLarge(name, static_cast<std::uint64_t>(size), limit));
        return succeeded();
    }

    val open(const std::string& name, const val& bytes) {
        return guarded(doing(PageAction::Open, name), [&] {
            const std::vector<std::uint8_t> image = bytesOf(bytes);
            session_.open(name, image);
            val result = succeeded();
            result.set("message", opened(session_.name(), image.size()));
            return result;
        });
    }

    bool isOpen() const { return session_.isOpen(); }
    std::string name() const { return session_.name(); }

    // Every field of the image now, record after record in table order.
    val fields() const {
        std::vector<std::uint8_t> bytes;
        for (const TableRecord& record : session_.records()) bytes.insert(bytes.end(), record.fields.begin(), record.fields.end());
        return uint8Array(bytes);
    }

    // The fields that differ from the image as opened, as positions into fields().
    val changes() const {
        val positions = val::array();
        for (const FieldDifference& change : session_.changes()) {
            positions.call<void>("push", recordSequence(change.kind, change.index) * recordSize + change.field - 1);
        }
        return positions;
    }

    val setField(const val& kind, int index, int field, const std::string& text) {
        return guarded(doing(PageAction::Edit), [&] {
            const TableKind table = choice<TableKind>(kind, "TableKind", "表格");
            if (field < 1 || field > static_cast<int>(recordSize)) {
                throw std::out_of_range("没有第 " + std::to_string(field) + " 个字段，每条记录只有 " +
                                        std::to_string(recordSize) + " 个。");
            }
            const int kept = session_.record(table, index)[static_cast<std::size_t>(field - 1)];
            try {
                val result = succeeded();
                result.set("value", session_.setField(table, index, field, text));
                return result;
            } catch (const Error& error) {
                if (error.kind() != ErrorKind::Overflow) throw;
                return refused(fieldRefused(table, index, field, text, kept));
            }
        });
    }

    // A table file's bytes, read as import reads them, in the encoding
    // chosen (null: found from the bytes), and imported if every row is sound.
    val readTableFile(const std::string& name, const val& bytes, const val& encoding) {
        return guarded(doing(PageAction::Import, name), [&] {
            std::optional<TextEncoding> chosen;
            if (!encoding.isNull()) chosen = choice<TextEncoding>(encoding, "TextEncoding", "编码");
            const std::vector<std::uint8_t> file = bytesOf(bytes);
            TableFileRead read;
            try {
                read = varnel::readTableFile(file, name, std::nullopt, chosen);
            } catch (const FormatError& error) {
                throw FormatError(std::string(error.what()) + "可以在“编码”中选择文件的编码。");
            }
            return imported(name, std::string(encodingName(read.encoding)), read.contents);
        });
    }

    val exportTables(const val& format) const {
        return guarded(doing(PageAction::Export), [&] {
            const TableFileFormat chosen = choice<TableFileFormat>(format, "TableFileFormat", "表格文件格式");
            const std::vector<TableRecord> records = session_.records();
            // CSV with the byte-order mark, as export --bom writes it, for spreadsheets.
            return handOver(PageAction::Export, renamed(session_.name(), std::string(tableFileExtension(chosen))),
                            uint8Array(writeTableFile(records, chosen, chosen == TableFileFormat::Csv)));
        });
    }

    val imageBytes() const {
        return guarded(doing(PageAction::Save, session_.name()), [&] {
            return handOver(PageAction::Save, session_.name(), uint8Array(session_.imageBytes()));
        });
    }

    val makePatch(const val& format) const {
        return guarded(doing(PageAction::MakePatch), [&] {
            const PatchFormat chosen = choice<PatchFormat>(format, "PatchFormat", "补丁格式");
            return handOver(PageAction::MakePatch, renamed(session_.name(), chosen == PatchFormat::Ips ? ".ips" : ".bps"),
                            uint8Array(session_.makePatch(chosen)));
        });
    }

    val applyPatch(const std::string& name, const val& bytes) {
        return guarded(doing(PageAction::ApplyPatch, name), [&] {
            session_.applyPatch(bytesOf(bytes));
            val result = succeeded();
            result.set("message", patchApplied(name, session_.imageBytes().size()));
            return result;
        });
    }

    val compare(const std::string& name, const val& bytes) const {
        return guarded(doing(PageAction::Compare, name), [&] {
            const Comparison found = session_.compare(bytesOf(bytes));
            return listed(succeeded(), comparison(found.fields, found.outsideBytes));
        });
    }

    std::string digestLine(std::uint32_t crc32, const std::string& sha1Hex) const { return digestValue(crc32, sha1Hex); }

    val info() const {
        return guarded(doing(PageAction::Facts, session_.name()), [&] {
            const ImageFacts facts = session_.facts();
            val rows = val::array();
            for (const FactRow& row : imageRows(facts)) rows.call<void>("push", infoRow(row));
            val digests = val::array();
            digests.call<void>("push", digest(std::string(wholeFileTerm), facts.file.crc32, 0));
            if (facts.rom) digests.call<void>("push", digest(romTerm(facts), facts.rom->crc32, facts.romStart));
            val result = succeeded();
            result.set("rows", rows);
            result.set("digests", digests);
            result.set("tables", infoRow(tablesRow(facts)));
            return result;
        });
    }

    // What the page's undo and redo buttons and the unsaved state follow.
    val history() const {
        const EditHistory& history = session_.history();
        val result = val::object();
        result.set("canUndo", history.canUndo());
        result.set("canRedo", history.canRedo());
        result.set("unsaved", session_.isOpen() && history.unsaved());
        result.set("footprint", static_cast<double>(history.footprint()));
        if (history.droppedAny()) result.set("trimmed", historyTrimmed(historyLimit));
        return result;
    }

    val undo() {
        return guarded(doing(PageAction::Undo), [&] {
            session_.undo();
            return succeeded();
        });
    }

    val redo() {
        return guarded(doing(PageAction::Redo), [&] {
            session_.redo();
            return succeeded();
        });
    }

    void markSaved() { session_.markSaved(); }

    // Every field that differs from the image as opened, as a position into
    // fields() with the byte as opened and now; and the bytes outside the
    // tables that differ, as one line, or none.
    val changeList() const {
        return guarded(doing(PageAction::ListChanges), [&] {
            val fields = val::array();
            for (const FieldDifference& change : session_.changes()) {
                val entry = val::object();
                entry.set("position", recordSequence(change.kind, change.index) * recordSize + change.field - 1);
                entry.set("opened", change.a);
                entry.set("now", change.b);
                fields.call<void>("push", entry);
            }
            val result = succeeded();
            result.set("fields", fields);
            const OutsideChange outside = session_.outsideChange();
            if (outside.bytes > 0) result.set("outside", outsideTables(outside.bytes, outside.openedLength, outside.nowLength));
            return result;
        });
    }

    val revertField(const val& kind, int index, int field) {
        return guarded(doing(PageAction::RevertField), [&] {
            session_.revertField(choice<TableKind>(kind, "TableKind", "表格"), index, field);
            return succeeded();
        });
    }

    val revertAll() {
        return guarded(doing(PageAction::RevertAll), [&] {
            session_.revertAll();
            return succeeded();
        });
    }

    val revertOutsideTables() {
        return guarded(doing(PageAction::RevertOutside), [&] {
            session_.revertOutsideTables();
            return succeeded();
        });
    }

private:
    val imported(const std::string& name, const std::string& encoding, const TableFileContents& contents) {
        if (!contents.problems.empty()) return listed(refused(""), importProblems(name, contents));
        const ImportOutcome outcome = session_.importRecords(contents);
        val result = listed(succeeded(), importChanges(outcome.changes, outcome.records, encoding, false));
        result.set("changed", outcome.records > 0);
        return result;
    }

    ImageSession session_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(varnel) {
    emscripten::enum_<TableKind>("TableKind")
        .value("Weapon", TableKind::Weapon)
        .value("Armour", TableKind::Armour)
        .value("Magic", TableKind::Magic);
    emscripten::enum_<TableFileFormat>("TableFileFormat")
        .value("Csv", TableFileFormat::Csv)
        .value("Tsv", TableFileFormat::Tsv)
        .value("Json", TableFileFormat::Json);
    emscripten::enum_<PatchFormat>("PatchFormat").value("Ips", PatchFormat::Ips).value("Bps", PatchFormat::Bps);
    emscripten::enum_<TextEncoding>("TextEncoding")
        .value("Utf8", TextEncoding::Utf8)
        .value("Utf16", TextEncoding::Utf16)
        .value("Gb18030", TextEncoding::Gb18030);
    // The fewest bytes an image can have and still hold the three tables.
    emscripten::constant("smallestImageLength", tablesEnd);
    emscripten::function("tables", &tables);
    emscripten::function("failureText", &failureText);
    emscripten::class_<Session>("Session")
        .constructor<>()
        .function("checkSize", &Session::checkSize)
        .function("open", &Session::open)
        .function("isOpen", &Session::isOpen)
        .function("name", &Session::name)
        .function("fields", &Session::fields)
        .function("changes", &Session::changes)
        .function("setField", &Session::setField)
        .function("readTableFile", &Session::readTableFile)
        .function("exportTables", &Session::exportTables)
        .function("imageBytes", &Session::imageBytes)
        .function("makePatch", &Session::makePatch)
        .function("applyPatch", &Session::applyPatch)
        .function("compare", &Session::compare)
        .function("info", &Session::info)
        .function("history", &Session::history)
        .function("undo", &Session::undo)
        .function("redo", &Session::redo)
        .function("markSaved", &Session::markSaved)
        .function("changeList", &Session::changeList)
        .function("revertField", &Session::revertField)
        .function("revertAll", &Session::revertAll)
        .function("revertOutsideTables", &Session::revertOutsideTables)
        .function("digestLine", &Session::digestLine);
}

}  // namespace varnel::web
