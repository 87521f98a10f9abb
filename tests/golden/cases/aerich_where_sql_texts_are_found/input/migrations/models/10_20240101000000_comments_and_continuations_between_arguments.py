from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    await execute_statement(db,  # note
        "CREATE INDEX m ON t (e)")
    await execute_statement(
        # the connection, then the statement
        db,
        # built by hand
        "CREATE INDEX n ON t (f)",
    )
    await execute_statement(db \
        , "CREATE INDEX o ON t (g)")
    await execute_statement(\
        db, "CREATE INDEX p ON t (h)")
    return ""
