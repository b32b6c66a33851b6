#include "objects/unit_table.h"

#include <sstream>
#include <unordered_map>
#include <vector>

#include "numbers/real_functions.h"
#include "objects/errors.h"
#include "support/charset.h"

namespace rplrun {

// The data files, as the build embeds them (unit_data.cpp, generated).
namespace unit_data {
extern const char units[];
extern const char prefixes[];
extern const char constants[];
}  // namespace unit_data

namespace {

struct Entry {
  Wide scale;
  std::array<int, base_unit_count> dimensions{};
  std::optional<Wide> offset;
};

// The fields of each line of a data file, comments dropped, names decoded.
std::vector<std::vector<std::string>> records(const char* text) {
  std::vector<std::vector<std::string>> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with("#")) continue;  // a comment; a blank line has no fields
    if (const auto comment = line.find(" # "); comment != std::string::npos) line.resize(comment);
    std::istringstream fields(line);
    std::vector<std::string> record;
    for (std::string field; fields >> field;) record.push_back(field);
    if (!record.empty()) {
      record[0] = rpl::decode_backslash_codes(record[0]);
      out.push_back(std::move(record));
    }
  }
  return out;
}

Wide number(const std::string& text) { return Wide::parse(text); }

// Where each data column lies in the order of base_unit_names: the files give
// m kg s A K cd mol.
constexpr int file_column[base_unit_count - 1] = {5, 4, 7, 1, 2, 3, 6};

struct Tables {
  std::unordered_map<std::string, Entry> units;
  std::unordered_map<std::string, int> prefixes;
  std::unordered_map<std::string, Constant> constants;

  Tables() {
    for (const auto& r : records(unit_data::units)) {
      // name value m kg s A K cd mol kind offset group name...
      const std::string& kind = r[9];
      if (kind == "compound") continue;  // an expression of other units, not a name
      Entry e;
      e.scale = number(r[1]);
      for (int k = 0; k < base_unit_count - 1; ++k)
        e.dimensions[static_cast<std::size_t>(file_column[k])] = std::stoi(r[2 + k]);
      if (kind == "user") e.dimensions[0] = 1;
      if (kind == "temp") e.offset = number(r[10]);
      units.emplace(r[0], e);
    }
    for (const auto& r : records(unit_data::prefixes)) {
      if (r[2] == "yes") prefixes.emplace(r[0], std::stoi(r[1]));
    }
    for (const auto& r : records(unit_data::constants)) {
      Constant c;
      c.value = number(r[1]).rounded().value;
      if (r[2] != "-") c.units = *parse_unit_expression(rpl::decode_backslash_codes(r[2]), '.');
      constants.emplace(r[0], std::move(c));
    }
  }
};

const Tables& tables() {
  static const Tables instance;
  return instance;
}

Real checked(RealResult r) {
  if (r.condition != Condition::none) fail(overflow_error);
  return r.value;
}

// A name of the table, or a one-character prefix and a name of the table.
std::optional<Entry> lookup_unit(const std::string& name) {
  const Tables& t = tables();
  if (const auto it = t.units.find(name); it != t.units.end()) return it->second;
  // The prefix is one HP character (\Gm, the micro sign, is one too).
  if (name.size() > 1) {
    const auto prefix = t.prefixes.find(name.substr(0, 1));
    const auto unit = t.units.find(name.substr(1));
    if (prefix != t.prefixes.end() && unit != t.units.end()) {
      Entry e = unit->second;
      e.scale = e.scale * Wide::from_int(10).power(Wide::from_int(prefix->second));
      return e;
    }
  }
  return std::nullopt;
}

Entry find_unit(const std::string& name) {
  if (auto e = lookup_unit(name)) return *e;
  fail(invalid_unit);
}

}  // namespace

bool is_unit_name(const std::string& name) { return lookup_unit(name).has_value(); }

UnitMeasure measure_units(const UnitFactors& factors) {
  UnitMeasure m;
  m.scale = Wide::from_int(1);
  for (const UnitFactor& f : factors) {
    const Entry e = find_unit(f.name);
    m.scale = m.scale * e.scale.power(Wide(f.power));
    for (std::size_t k = 0; k < base_unit_count; ++k) {
      if (e.dimensions[k] != 0)
        m.dimensions[k] = checked(
            add(m.dimensions[k], checked(multiply(f.power, Real::from_int64(e.dimensions[k])))));
    }
  }
  if (factors.size() == 1 && factors[0].power == Real::from_int64(1)) {
    const Entry e = find_unit(factors[0].name);
    constexpr std::array<int, base_unit_count> kelvin = {0, 0, 1, 0, 0, 0, 0, 0};
    m.pure_temperature = e.dimensions == kelvin;
    m.offset = e.offset;
  }
  return m;
}

UnitFactors base_units(const Dimensions& dimensions) {
  UnitFactors out;
  for (std::size_t k = 0; k < base_unit_count; ++k) {
    if (!dimensions[k].is_zero()) out.push_back({base_unit_names[k], dimensions[k]});
  }
  return out;
}

std::optional<Constant> find_constant(std::string_view name) {
  const auto& c = tables().constants;
  if (const auto it = c.find(std::string(name)); it != c.end()) return it->second;
  return std::nullopt;
}

}  // namespace rplrun
