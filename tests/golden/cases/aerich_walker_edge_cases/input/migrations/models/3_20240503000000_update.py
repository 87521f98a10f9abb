from tortoise import BaseDBAsyncClient

MODELS_STATE = "eJx"
RUN_IN_TRANSACTION = False
RUN_IN_TRANSACTION = True


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "DROP INDEX CONCURRENTLY idx_note"
