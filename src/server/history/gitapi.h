#pragma once

#include <QString>
#include <git2.h>
#include <git2/sys/mempack.h>
#include <git2/sys/odb_backend.h>

// The functions of libgit2 the history uses. The library is loaded by the first operation that opens a history
// rather than with the program: it brings its own SSH and HTTP libraries, whose loading cost every start of the
// command-line program more than saving a small zone takes, while only the changing commands record a revision.
#define QUORVANE_GIT_FUNCTIONS(X)                                                                                      \
    X(git_libgit2_init)                                                                                                \
    X(git_error_last)                                                                                                  \
    X(git_buf_dispose)                                                                                                 \
    X(git_oid_equal)                                                                                                   \
    X(git_oid_is_zero)                                                                                                 \
    X(git_oid_fromstr)                                                                                                 \
    X(git_oid_tostr)                                                                                                   \
    X(git_repository_init)                                                                                             \
    X(git_repository_open_bare)                                                                                        \
    X(git_repository_odb)                                                                                              \
    X(git_repository_free)                                                                                             \
    X(git_odb_backend_loose)                                                                                           \
    X(git_odb_add_backend)                                                                                             \
    X(git_odb_hash)                                                                                                    \
    X(git_odb_free)                                                                                                    \
    X(git_mempack_new)                                                                                                 \
    X(git_mempack_reset)                                                                                               \
    X(git_packbuilder_new)                                                                                             \
    X(git_packbuilder_insert)                                                                                          \
    X(git_packbuilder_set_threads)                                                                                     \
    X(git_packbuilder_write)                                                                                           \
    X(git_packbuilder_free)                                                                                            \
    X(git_blob_create_from_buffer)                                                                                     \
    X(git_blob_lookup)                                                                                                 \
    X(git_blob_rawcontent)                                                                                             \
    X(git_blob_rawsize)                                                                                                \
    X(git_blob_free)                                                                                                   \
    X(git_tree_lookup)                                                                                                 \
    X(git_tree_create_updated)                                                                                         \
    X(git_tree_walk)                                                                                                   \
    X(git_tree_entry_bypath)                                                                                           \
    X(git_tree_entry_id)                                                                                               \
    X(git_tree_entry_name)                                                                                             \
    X(git_tree_entry_type)                                                                                             \
    X(git_tree_entry_free)                                                                                             \
    X(git_tree_free)                                                                                                   \
    X(git_treebuilder_new)                                                                                             \
    X(git_treebuilder_write)                                                                                           \
    X(git_treebuilder_free)                                                                                            \
    X(git_commit_lookup)                                                                                               \
    X(git_commit_create)                                                                                               \
    X(git_commit_tree)                                                                                                 \
    X(git_commit_id)                                                                                                   \
    X(git_commit_message)                                                                                              \
    X(git_commit_author)                                                                                               \
    X(git_commit_parent)                                                                                               \
    X(git_commit_parentcount)                                                                                          \
    X(git_commit_free)                                                                                                 \
    X(git_signature_now)                                                                                               \
    X(git_signature_free)                                                                                              \
    X(git_object_id)                                                                                                   \
    X(git_object_lookup)                                                                                               \
    X(git_object_free)                                                                                                 \
    X(git_revparse_single)                                                                                             \
    X(git_reference_create)                                                                                            \
    X(git_reference_create_matching)                                                                                   \
    X(git_reference_lookup)                                                                                            \
    X(git_reference_symbolic_target)                                                                                   \
    X(git_reference_name_to_id)                                                                                        \
    X(git_reference_free)                                                                                              \
    X(git_revwalk_new)                                                                                                 \
    X(git_revwalk_sorting)                                                                                             \
    X(git_revwalk_push_head)                                                                                           \
    X(git_revwalk_next)                                                                                                \
    X(git_revwalk_free)                                                                                                \
    X(git_diff_tree_to_tree)                                                                                           \
    X(git_diff_num_deltas)                                                                                             \
    X(git_diff_get_delta)                                                                                              \
    X(git_diff_to_buf)                                                                                                 \
    X(git_diff_free)                                                                                                   \
    X(git_patch_from_blob_and_buffer)                                                                                  \
    X(git_patch_to_buf)                                                                                                \
    X(git_patch_free)

// Each member has the name and type of the library's function.
struct GitApi
{
#define QUORVANE_GIT_MEMBER(name) decltype(&::name) name = nullptr;
    QUORVANE_GIT_FUNCTIONS(QUORVANE_GIT_MEMBER)
#undef QUORVANE_GIT_MEMBER
};

// The library, loaded and initialised on the first call; none when it cannot be, with the reason in errorText.
const GitApi* gitApi(QString* errorText = nullptr);
