# GV's per-picture cost beyond its decode (see GvOverheadBench.cpp).
add_executable(gv_overhead_bench ${CMAKE_CURRENT_LIST_DIR}/GvOverheadBench.cpp)
target_link_libraries(gv_overhead_bench PRIVATE tavcore imgkit gvcore)
add_dependencies(gv_overhead_bench gv)
