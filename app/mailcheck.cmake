# The mail check: one account's check over netlib (MailCheck) and the check thread (ThreadConect).
trelm_app_requires(mailcheck netlib classlib base app_settings)
add_library(app_mailcheck STATIC ${CMAKE_CURRENT_LIST_DIR}/MailCheck.cpp ${CMAKE_CURRENT_LIST_DIR}/CheckFailure.cpp)
target_link_libraries(app_mailcheck PUBLIC base netlib app_settings)
target_include_directories(app_mailcheck PUBLIC ${CMAKE_SOURCE_DIR})

add_library(app_threadconect STATIC ${CMAKE_CURRENT_LIST_DIR}/ThreadConect.cpp)
target_link_libraries(app_threadconect PUBLIC app_mailcheck classlib)
