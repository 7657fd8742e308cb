#include "tools/databuilder/recipes/RecipeFolder.h"

#include "tools/databuilder/BuildError.h"

#include <algorithm>

namespace databuilder {

namespace {

std::vector<std::filesystem::path> TomlFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  if (!std::filesystem::is_directory(folder)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".toml") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

toml::table Parse(const std::filesystem::path& file) {
  try {
    return toml::parse_file(file.string());
  } catch (const toml::parse_error& error) {
    throw BuildError(file.string() + ": " + std::string(error.description()));
  }
}

const toml::node& Need(const Recipe& recipe, const char* key) {
  const toml::node* node = recipe.mTable.get(key);
  if (node == nullptr) {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\" lacks " + key);
  }
  return *node;
}

[[noreturn]] void WrongType(const Recipe& recipe, const char* key, const char* what) {
  throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\": " + key + " must be " +
                   what);
}

}  // namespace

std::map<std::string, Recipe> ReadRecipeFolder(const std::filesystem::path& folder,
                                               const std::vector<std::string>& reservedKeys) {
  std::map<std::string, Recipe> recipes;
  for (const std::filesystem::path& file : TomlFiles(folder)) {
    const toml::table root = Parse(file);
    for (const auto& [key, value] : root) {
      const std::string name(key.str());
      if (std::find(reservedKeys.begin(), reservedKeys.end(), name) != reservedKeys.end()) {
        continue;
      }
      const toml::table* table = value.as_table();
      if (table == nullptr) throw BuildError(file.string() + ": " + name + " is not a table");
      if (recipes.count(name) != 0) {
        throw BuildError(file.string() + ": recipe \"" + name + "\" made twice");
      }
      recipes.emplace(name, Recipe{name, file.string(), *table});
    }
  }
  return recipes;
}

toml::table ReadReservedTable(const std::filesystem::path& folder, const std::string& key) {
  for (const std::filesystem::path& file : TomlFiles(folder)) {
    const toml::table root = Parse(file);
    if (const toml::table* table = root[key].as_table()) return *table;
  }
  return {};
}

void RequireEveryKeyRead(const Recipe& recipe) {
  recipe.mTable.RequireEveryKeyRead(recipe.mSource + ": recipe \"" + recipe.mName + "\"");
}

double RecipeNumber(const Recipe& recipe, const char* key) {
  const std::optional<double> value = Need(recipe, key).value<double>();
  if (!value) WrongType(recipe, key, "a number");
  return *value;
}

double RecipeNumber(const Recipe& recipe, const char* key, double fallback) {
  return recipe.mTable.contains(key) ? RecipeNumber(recipe, key) : fallback;
}

std::string RecipeString(const Recipe& recipe, const char* key) {
  const std::optional<std::string> value = Need(recipe, key).value<std::string>();
  if (!value) WrongType(recipe, key, "a string");
  return *value;
}

std::string RecipeString(const Recipe& recipe, const char* key, const std::string& fallback) {
  return recipe.mTable.contains(key) ? RecipeString(recipe, key) : fallback;
}

bool RecipeFlag(const Recipe& recipe, const char* key, bool fallback) {
  if (!recipe.mTable.contains(key)) return fallback;
  const std::optional<bool> value = recipe.mTable[key].value<bool>();
  if (!value) WrongType(recipe, key, "true or false");
  return *value;
}

std::vector<double> NumbersOf(const toml::node& node, const std::string& where, size_t length) {
  const toml::array* array = node.as_array();
  std::vector<double> numbers;
  if (array != nullptr) {
    for (const toml::node& element : *array) {
      const std::optional<double> value = element.value<double>();
      if (!value) break;
      numbers.push_back(*value);
    }
  }
  if (array == nullptr || numbers.size() != array->size() ||
      (length != 0 && numbers.size() != length)) {
    throw BuildError(where + " must be " +
                     (length != 0 ? std::to_string(length) + " numbers" : "numbers"));
  }
  return numbers;
}

std::vector<double> RecipeNumbers(const Recipe& recipe, const char* key, size_t length) {
  return NumbersOf(Need(recipe, key), recipe.mSource + ": recipe \"" + recipe.mName + "\": " + key,
                   length);
}

}  // namespace databuilder
