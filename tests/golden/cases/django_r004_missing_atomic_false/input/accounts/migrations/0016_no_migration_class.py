from django.contrib.postgres.operations import RemoveIndexConcurrently

operations = [
    RemoveIndexConcurrently(model_name="user", name="accounts_us_handle_idx"),
]
