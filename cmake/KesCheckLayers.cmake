# Checks that every #include of the tree runs downward in the layer order of the library:
#
#   platform <- framework <- single, choice, multi, param <- tools <- qt <- examples
#
# A folder may include its own headers and those of the layers below it; the four attribute
# families include nothing of each other. Tests, benchmarks and fuzz targets may include
# anything. Run as a script: cmake -D SOURCE_DIR=<tree> -P KesCheckLayers.cmake
# Fails (one line per upward include, "file:line: ...") when an include runs upward.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
    message(FATAL_ERROR "KesCheckLayers: give -D SOURCE_DIR=<the source tree>")
endif()

set(below_platform "")
set(below_framework platform)
set(below_single platform framework)
set(below_choice platform framework)
set(below_multi platform framework)
set(below_param platform framework)
set(below_tools platform framework single choice multi param)
set(below_qt platform framework single choice multi param tools)
set(below_examples platform framework single choice multi param tools qt)
set(layers platform framework single choice multi param tools qt examples)

set(upward 0)
set(checked 0)
foreach(layer IN LISTS layers)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.cpp.in)
    set(allowed ${layer} ${below_${layer}})
    foreach(file IN LISTS files)
        math(EXPR checked "${checked} + 1")
        file(STRINGS ${SOURCE_DIR}/${file} lines)
        set(number 0)
        foreach(line IN LISTS lines)
            math(EXPR number "${number} + 1")
            if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z0-9_-]+)/")
                set(included ${CMAKE_MATCH_1})
                # Folders that are not layers of the tree (a Qt module, generated files) are free.
                if(included IN_LIST layers AND NOT included IN_LIST allowed)
                    message("${file}:${number}: ${layer}/ includes ${included}/, a layer above "
                            "or beside it")
                    math(EXPR upward "${upward} + 1")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(checked EQUAL 0)
    message(FATAL_ERROR "KesCheckLayers: no source file found under ${SOURCE_DIR}")
endif()
if(upward GREATER 0)
    message(FATAL_ERROR "KesCheckLayers: ${upward} include(s) run upward (${checked} files read)")
endif()
message(STATUS "KesCheckLayers: ${checked} files, every include runs downward")
