# LoadImageFile against `gm convert FILE bmp:-` (run by load-image.sh).
add_executable(load_image_bench ${CMAKE_CURRENT_LIST_DIR}/load-image.cpp)
target_link_libraries(load_image_bench PRIVATE tavcore benchmark::benchmark)
