# Writes every target of the tree with its sources and the targets it links to
# into layers.txt in the build folder, and registers the test that checks the
# includes against it (tools/check-layers.py): a file may include only headers
# of its own target and of the targets it links to, and the links of the
# project's own targets must not form a cycle.

function(tav_collect_targets dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    tav_collect_targets(${sub} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(tav_write_layer_map file)
  tav_collect_targets(${PROJECT_SOURCE_DIR} targets)
  set(lines "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(dir ${target} SOURCE_DIR)
    set(sources "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(sources ${target} SOURCES)
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    string(APPEND lines "${target}\t${type}\t${dir}\t${sources}\t${links};${interface}\n")
  endforeach()
  file(WRITE ${file} "${lines}")
endfunction()

tav_write_layer_map(${PROJECT_BINARY_DIR}/layers.txt)
add_test(NAME layering
  COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/check-layers.py
          ${PROJECT_BINARY_DIR}/layers.txt ${PROJECT_SOURCE_DIR})
