# The sources of the formats that every build compiles: they need only the
# standard library, iconv and header-only libraries (Boost.CRC, nlohmann-json).
# The native build adds SHA-1 on OpenSSL.
set(varnel_formats_sources
  Bps.cpp
  BpsEncoder.cpp
  Crc32.cpp
  CsvTableReader.cpp
  CsvTableWriter.cpp
  CsvTokenizer.cpp
  ImageDiff.cpp
  ImageInfo.cpp
  ImportPlan.cpp
  Ips.cpp
  JsonTableFile.cpp
  Patch.cpp
  ReaderText.cpp
  RecordCollector.cpp
  ResultTexts.cpp
  TableFile.cpp
  TableFileReader.cpp
  TableFileWriter.cpp
  TableRows.cpp
  TextEncoding.cpp
  BpsMatchIndex.cpp
)
list(TRANSFORM varnel_formats_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
