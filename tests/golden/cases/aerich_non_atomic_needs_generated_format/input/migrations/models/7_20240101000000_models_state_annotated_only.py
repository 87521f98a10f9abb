from tortoise import BaseDBAsyncClient

MODELS_STATE: str
RUN_IN_TRANSACTION = False


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE INDEX CONCURRENTLY i ON t (c)"
