# What a release states about itself agrees: the README names the version, the
# copyright of LICENSE and where to report bugs; the VS Code extension has the
# same version and licence. (The change log's latest entry is checked once
# installed.)
#
# cmake -DSOURCE_DIR=... -DVERSION=... -DBUG_ADDRESS=... -P check_release.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${SOURCE_DIR}/README.md" readme)
file(READ "${SOURCE_DIR}/LICENSE" license)
string(REGEX MATCH "Copyright \\(c\\) [^\n]*" copyright "${license}")
string(REGEX REPLACE "[ \n]+" " " readme_text "${readme}")
foreach(phrase "This is version ${VERSION};" "${copyright};" "<${BUG_ADDRESS}>")
  string(FIND "${readme_text}" "${phrase}" at)
  if(at EQUAL -1)
    message(SEND_ERROR "README.md lacks \"${phrase}\"")
  endif()
endforeach()

set(extension "${SOURCE_DIR}/editors/vscode")
file(READ "${extension}/package.json" manifest)
string(JSON extension_version GET "${manifest}" version)
string(JSON extension_license GET "${manifest}" license)
if(NOT extension_version STREQUAL VERSION OR NOT extension_license STREQUAL "MIT")
  message(SEND_ERROR "the VS Code extension is version ${extension_version}, licence "
    "${extension_license}; expected ${VERSION}, MIT")
endif()
file(READ "${extension}/LICENSE" extension_license_text)
if(NOT extension_license_text STREQUAL license)
  message(SEND_ERROR "editors/vscode/LICENSE differs from LICENSE")
endif()
