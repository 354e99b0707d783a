// What the page's JavaScript can call. Each call that can fail is a boundary:
// it returns {ok: true, …} or {ok: false, message}, never throws into the page.

#include "core/ErrorText.h"
#include "core/NameLists.h"
#include "core/TableLayout.h"
#include "core/TableTexts.h"
#include "formats/Crc32.h"
#include "formats/FormatError.h"
#include "formats/CsvTableFile.h"
#include "formats/JsonTableFile.h"
#include "formats/ResultTexts.h"
#include "formats/TableFile.h"
#include "formats/TableFileWriter.h"
#include "formats/TableRows.h"
#include "formats/TextEncoding.h"
#include "web/ImageSession.h"
#include "web/PageTexts.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <new>
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

TableKind tableKind(int kind) {
    for (const TableSpec& table : tableSpecs) {
        if (static_cast<int>(table.kind) == kind) return table.kind;
    }
    throw std::out_of_range("no table " + std::to_string(kind));
}

// The three tables as the page lays them out: titles, fields per record, captions, names.
val tables() {
    val list = val::array();
    for (const TableSpec& table : tableSpecs) {
        std::vector<std::string> captions;
        for (const std::string_view caption : fieldCaptions(table.kind)) captions.push_back(plainCaption(caption));
        val entry = val::object();
        entry.set("kind", static_cast<int>(table.kind));
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

val digest(const std::string& term, std::uint32_t crc, std::uint64_t from) {
    val entry = val::object();
    entry.set("term", term);
    entry.set("crc32", crcText(crc));
    entry.set("from", static_cast<double>(from));
    return entry;
}

class Session {
public:
    Session() : session_("/session") {}

    // A refusal before a file is read: whether it is too large for its kind.
    val checkSize(const std::string& name, double size, bool tableFile) const {
        const std::uint64_t limit = tableFile ? tableFileLimit : binaryFileLimit;
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

    val setField(int kind, int index, int field, const std::string& text) {
        return guarded(doing(PageAction::Edit), [&] {
            const TableKind table = tableKind(kind);
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

    // A table file's text, decoded as import decodes it. JSON is read and
    // imported at once; CSV and TSV text goes back to be cut into rows.
    val readTableText(const std::string& name, const val& bytes) {
        return guarded(doing(PageAction::Import, name), [&] {
            const std::vector<std::uint8_t> file = bytesOf(bytes);
            DecodedText text = decodeText(file);
            const TableFileFormat format = chooseFormat(std::nullopt, name, text.utf8);
            const std::string encoding(encodingName(text.encoding));
            if (format == TableFileFormat::Json) return imported(name, encoding, readJson(text.utf8));
            val result = succeeded();
            result.set("text", std::move(text.utf8));
            result.set("separator", std::string(1, format == TableFileFormat::Tsv ? tsvSeparator : csvSeparator));
            result.set("encoding", encoding);
            return result;
        });
    }

    // Rows cut by the page ({line, cells, text, problem}), checked as import
    // checks them, and imported if every one is sound.
    val importRows(const std::string& name, const std::string& encoding, const val& rows) {
        return guarded(doing(PageAction::Import, name), [&] {
            TableRows checks;
            const auto count = rows["length"].as<std::size_t>();
            for (std::size_t k = 0; k < count && !checks.stopped(); ++k) {
                const val row = rows[k];
                const auto line = row["line"].as<std::size_t>();
                const auto text = row["text"].as<std::string>();
                const val problem = row["problem"];
                if (!problem.isUndefined()) {
                    if (problem.as<std::string>() == "unclosed") checks.unclosedQuote(line, text);
                    else checks.malformed(line, text);
                    continue;
                }
                const val cells = row["cells"];
                const auto cellCount = cells["length"].as<std::size_t>();
                std::vector<std::string> stored;
                for (std::size_t c = 0; c < std::min(cellCount, storedCellLimit); ++c) stored.push_back(cells[c].as<std::string>());
                checks.row(line, stored, cellCount, text);
            }
            return imported(name, encoding, std::move(checks).finish());
        });
    }

    val exportTables(const std::string& format) const {
        return guarded(doing(PageAction::Export), [&] {
            const std::vector<TableRecord> records = session_.records();
            const TableFileFormat chosen = format == "csv" ? TableFileFormat::Csv : TableFileFormat::Json;
            // CSV with the byte-order mark, as export --bom writes it, for spreadsheets.
            return handOver(PageAction::Export, renamed(session_.name(), "." + format),
                            uint8Array(writeTableFile(records, chosen, chosen == TableFileFormat::Csv)));
        });
    }

    val imageBytes() const {
        return guarded(doing(PageAction::Save, session_.name()), [&] {
            return handOver(PageAction::Save, session_.name(), uint8Array(session_.imageBytes()));
        });
    }

    val makePatch(const std::string& format) const {
        return guarded(doing(PageAction::MakePatch), [&] {
            return handOver(PageAction::MakePatch, renamed(session_.name(), "." + format),
                            uint8Array(session_.makePatch(format == "ips" ? PatchFormat::Ips : PatchFormat::Bps)));
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

    val info() const {
        return guarded(doing(PageAction::Facts, session_.name()), [&] {
            const ImageFacts facts = session_.facts();
            val rows = val::array();
            for (const FactRow& row : imageRows(facts)) rows.call<void>("push", infoRow(row));
            val digests = val::array();
            digests.call<void>("push", digest("整个文件", facts.file.crc32, 0));
            if (facts.rom) digests.call<void>("push", digest(romTerm(facts), facts.rom->crc32, facts.romStart));
            val result = succeeded();
            result.set("rows", rows);
            result.set("digests", digests);
            result.set("tables", infoRow(tablesRow(facts)));
            return result;
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
        .function("readTableText", &Session::readTableText)
        .function("importRows", &Session::importRows)
        .function("exportTables", &Session::exportTables)
        .function("imageBytes", &Session::imageBytes)
        .function("makePatch", &Session::makePatch)
        .function("applyPatch", &Session::applyPatch)
        .function("compare", &Session::compare)
        .function("info", &Session::info);
}

}  // namespace varnel::web
