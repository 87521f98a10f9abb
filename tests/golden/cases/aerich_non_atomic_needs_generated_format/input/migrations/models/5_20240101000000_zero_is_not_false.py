from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = 0
MODELS_STATE = ''


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE INDEX CONCURRENTLY i ON t (c)"
