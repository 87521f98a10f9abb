from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    await execute_statement(db, "CREATE INDEX CONCURRENTLY i ON t (c)")
    await execute_statement("CREATE INDEX k ON t (c)")
    await execute_statement(db, SQL)
    return ""
